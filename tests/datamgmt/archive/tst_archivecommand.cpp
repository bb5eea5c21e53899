#include <QtTest>
class TestArchiveCommand : public QObject
{
    Q_OBJECT
};
QTEST_APPLESS_MAIN(TestArchiveCommand)
#include "tst_archivecommand.moc"
