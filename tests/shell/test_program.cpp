// The program as a whole, each run in a process of its own: how it ends, with
// which exit code, and whether its exit routine ran.
#include <QProcess>
#include <QTest>

class ProgramTest : public QObject {
    Q_OBJECT

    struct Run {
        int exitCode;
        QString out;
    };
    static Run run(const QString& scenario) {
        QProcess p;
        p.setProgram(QStringLiteral(FC_HARNESS));
        p.setArguments({scenario});
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start();
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            return {-1000, QString::fromUtf8(p.readAllStandardOutput())};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2000,
                QString::fromUtf8(p.readAllStandardOutput())};
    }

private slots:
    void normalEnds_data() {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("ESC in the settings window") << "esc";
        QTest::newRow("closing the settings window") << "close";
        QTest::newRow("after a display was opened and closed") << "display-then-esc";
    }
    void normalEnds() {
        QFETCH(QString, scenario);
        const Run r = run(scenario);
        QVERIFY2(r.exitCode == 0, qPrintable(QString::number(r.exitCode) + "\n" + r.out));
        QVERIFY2(r.out.contains("exit-routines-ran texts-absent=1"), qPrintable(r.out));
        QVERIFY(r.out.contains("program-main-returned=0"));
    }

    void theDisplayComesAndGoesModally() {
        const Run r = run("display-then-esc");
        QVERIFY2(r.out.contains("display-open=1"), qPrintable(r.out));
        QVERIFY2(r.out.contains("settings-enabled=1"), qPrintable(r.out));
    }

    void aFatalErrorReportsAndEndsWithMinusOne() {
        const Run r = run("fatal");
        // -1 as the process's exit status: 255 where statuses are 8 bits wide.
        QVERIFY2(r.exitCode == 255 || r.exitCode == -1, qPrintable(QString::number(r.exitCode)));
        QVERIFY2(
            r.out.contains(QStringLiteral("box title=错误 icon=%1 text=运行时出错!").arg(int(3))),
            qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("修改组件属性时发现指定窗口尚未载入")));
        QVERIFY2(!r.out.contains("exit-routines-ran"), qPrintable(r.out));
        QVERIFY(!r.out.contains("program-main-returned"));
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "test_program.moc"
