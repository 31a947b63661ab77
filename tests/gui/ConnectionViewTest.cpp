#include <QtTest>

class ConnectionViewTest : public QObject {
    Q_OBJECT
};

QTEST_MAIN(ConnectionViewTest)
#include "ConnectionViewTest.moc"
