#pragma once
// The About box; as a splash at start-up it has no button and closes itself.

#include <QDialog>

inline constexpr int QV_SPLASH_MILLISECONDS = 1500;

class CAboutDialog final : public QDialog {
    Q_OBJECT
public:
    CAboutDialog(bool splash, QWidget* parent = nullptr);
};
