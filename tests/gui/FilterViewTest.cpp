#include <QtTest>

class FilterViewTest : public QObject {
    Q_OBJECT
};

QTEST_MAIN(FilterViewTest)
#include "FilterViewTest.moc"
