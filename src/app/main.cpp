// quorvel: the desktop application.

#include <QApplication>
#include <cstdio>

#include "QtPrompt.h"
#include "QuorvelApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quorvel");
    QApplication::setOrganizationName("Tarnwick");
    const SStartOptions options = ParseStartOptions(QApplication::arguments());
    if (!options.csError.isEmpty()) {
        std::fprintf(stderr, "quorvel: %s\nUsage: quorvel [PROJECT.qvl] [--connect NAME|HOST[:PORT]] [--no-splash]\n",
                     options.csError.toLocal8Bit().constData());
        return 2;
    }
    CQtPrompt prompt;
    CQuorvelApp app(prompt);
    if (!app.Start(options)) return 1;
    prompt.SetParent(app.Frame());
    return QApplication::exec();
}
