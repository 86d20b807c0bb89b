// The desktop program's main window, driven by control id over real
// databases: a job run from the command line writes what quillex-run
// writes, Exit during a run, Delete, the run option, the input browser,
// the math-error dialog and the report window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QSignalSpy>
#include <QTextBrowser>
#include <clocale>
#include <cmath>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "app/help_window.h"
#include "app/report_window.h"
#include "app/run_scheduler.h"
#include "tests/app/app_fixture.h"

namespace quillex {

namespace {

const std::string kInputSet = "/A/B/C/SET1";

// A gamma ray of n samples every half foot from 1000 ft, a few beds and
// noise from a fixed generator.
std::vector<float> Gamma(size_t n) {
  std::vector<float> values(n);
  uint32_t seed = 12345;
  for (size_t at = 0; at < n; ++at) {
    seed = seed * 1664525 + 1013904223;
    double bed = std::sin(static_cast<double>(at) / 37.0) * 40.0 + 70.0;
    values[at] = static_cast<float>(bed + (seed >> 8) % 1000 / 100.0);
  }
  return values;
}

// A job file as written, line ends aside.
std::string JobFileText(const std::string& path) {
  std::string text = ReadWhole(path);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<AppHome> home_;
  std::unique_ptr<ProgramDriver> program_;
  std::unique_ptr<ModalScript> script_;

  // The program on a job file of the job folder (or none), its first
  // dialogs answered by the script.
  void Start(const std::string& job = "") {
    program_ = std::make_unique<ProgramDriver>(*home_);
    QVERIFY(program_->started());
    program_->Start(job.empty() ? "" : "-args " + job);
  }
  // The answers a first run needs: the input source, no presentation.
  void ExpectRunStart() {
    script_->Expect("Input Source", ChooseItem(home_->well, kInputSet));
    script_->Expect(kPresentationTitle, ModalScript::Cancel());
    script_->Expect("Quillex", ModalScript::Press(QMessageBox::Ok));
  }
  void WaitForStatus(const QString& status, int timeout = 20000) {
    QTRY_COMPARE_WITH_TIMEOUT(program_->Text(167), status, timeout);
  }
  void ExpectScriptDone() {
    QTRY_VERIFY(script_->finished());
    QCOMPARE(script_->unexpected(), QStringList());
  }

 private Q_SLOTS:
  void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

  void init() {
    home_ = std::make_unique<AppHome>();
    script_ = std::make_unique<ModalScript>();
    home_->PutCurve(kInputSet + "/GR/1", 1000, 0.5, Gamma(20000));
  }

  void cleanup() {
    if (program_) program_->ShutDown();
    program_.reset();
    script_.reset();
    home_.reset();
  }

  // Started with a job, the window runs it at once, in slices of the event
  // loop, and writes the same curves as quillex-run, bit for bit.
  void runFromCommandLineWritesWhatQuillexRunWrites() {
    home_->WriteJob("SAME.QXJ", JobText({{"GR2,GAPI,0,doubled,0", "GR*2"},
                                         {"SM,GAPI,0,smooth,1500", "FILTGAUS(GR, 9)"},
                                         {"RAT,GAPI,0, ,0", "(GR-60)/(GR+1)*SQRT(GR)"},
                                         {"VSH,GAPI,0, ,0", "MIN(MAX((GR-20)/(120-20), 0), 1)"}}));
    QProcess headless;
    headless.start(ToolPath("quillex-run"),
                   {"--home", QString::fromStdString(home_->home), "SAME.QXJ", "--input",
                    QString::fromStdString("WELL: " + kInputSet)});
    QVERIFY(headless.waitForFinished(60000));
    QCOMPARE(headless.exitCode(), 0);

    ExpectRunStart();
    Start("SAME.QXJ");
    WaitForStatus("Done.");
    ExpectScriptDone();
    QCOMPARE(program_->Text(106), QStringLiteral("WELL: /A/B/C/SET1"));
    // quillex-run wrote _qxj1_ (and removed the _qxj2_ it made for a next
    // run that never comes); the window wrote _qxj2_ and made _qxj3_.
    QCOMPARE(program_->Text(108), QStringLiteral("WELL: /A/B/C/_qxj3_"));
    for (const char* name : {"GR2", "SM", "RAT", "VSH"}) {
      std::vector<float> window = home_->Curve("/A/B/C/_qxj2_/" + std::string(name) + "/1");
      std::vector<float> quillexRun = home_->Curve("/A/B/C/_qxj1_/" + std::string(name) + "/1");
      QVERIFY2(!window.empty(), name);
      QCOMPARE(window.size(), quillexRun.size());
      QVERIFY2(std::memcmp(window.data(), quillexRun.data(), window.size() * sizeof(float)) == 0, name);
    }
    program_->ShutDown();
    std::string settings = ReadWhole(home_->home + "/jobs/corvane.ini");
    QVERIFY(settings.find("Script=" + home_->Job("SAME.QXJ")) != std::string::npos);
  }

  // Exit during a run asks; No lets the run go on, Yes cancels it. The
  // run is held by an input still being recorded, so it cannot end first.
  void exitDuringRun_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: the run goes on") << false;
    QTest::newRow("Yes: Cancelled.") << true;
  }
  void exitDuringRun() {
    QFETCH(bool, yes);
    home_->PutCurve(kInputSet + "/REC/1", 1000, 0.5, Gamma(400), true);
    home_->WriteJob("HELD.QXJ", JobText({{"R2,GAPI,0, ,0", "REC*2"}}));
    // A recording has no bottom yet: the interval goes past its end.
    script_->Expect("Input Source", [this](QWidget* dialog) {
      program_->Control<QLineEdit>(111)->setText("1000");
      program_->Control<QLineEdit>(112)->setText("1400");
      ChooseItem(home_->well, kInputSet)(dialog);
    });
    script_->Expect(kPresentationTitle, ModalScript::Cancel());
    script_->Expect("Quillex", ModalScript::Press(QMessageBox::Ok));
    Start("HELD.QXJ");
    QTRY_VERIFY(script_->finished());
    QTRY_VERIFY(program_->context().run.running);
    // The one-second timer shows the share done; the held run waits.
    QTRY_VERIFY_WITH_TIMEOUT(program_->Text(167).endsWith('%'), 3000);
    QTRY_COMPARE(program_->context().run.samplesDone, 400);
    // Held, the run looks for data now and then instead of spinning.
    std::clock_t before = std::clock();
    QTest::qWait(300);
    QVERIFY(std::clock() - before < CLOCKS_PER_SEC / 10);
    QCOMPARE(program_->context().run.samplesDone, 400);

    script_->Expect("Quillex", ModalScript::Press(yes ? QMessageBox::Yes : QMessageBox::No));
    program_->Click(2);
    ExpectScriptDone();
    QCOMPARE(script_->seen().last(), QStringLiteral("Quillex: Abort current processing?"));
    if (yes) {
      WaitForStatus("Cancelled.");
    } else {
      QTest::qWait(200);
      QVERIFY(program_->context().run.running);
    }
    QVERIFY(program_->window().isVisible());
    if (!yes) return;
    // Idle, Exit closes the window without asking.
    QSignalSpy closed(&program_->window(), &MainWindow::closed);
    program_->Click(2);
    QCOMPARE(closed.count(), 1);
  }

  // No step is taken while a modal dialog is open: the question of Exit
  // holds a long run where it was.
  void aModalDialogPausesTheRun() {
    home_->PutCurve(kInputSet + "/LONG/1", 1000, 0.01, Gamma(1000000));
    home_->WriteJob("LONG.QXJ", JobText({{"L2,GAPI,0, ,0", "LONG*2"}}));
    ExpectRunStart();
    script_->Expect("Quillex", [this](QWidget* dialog) {
      int32_t done = program_->context().run.samplesDone;
      QTest::qWait(200);
      QCOMPARE(program_->context().run.samplesDone, done);
      QVERIFY(program_->context().run.running);
      ModalScript::Press(QMessageBox::No)(dialog);
    });
    Start("LONG.QXJ");
    QTRY_VERIFY(program_->context().run.running);
    program_->Click(2);
    WaitForStatus("Done.", 60000);
    ExpectScriptDone();
    QCOMPARE(program_->context().run.samplesDone, 999999);
  }

  // Delete asks only when a line is selected, and Yes renumbers the job
  // file at once.
  void deleteOutput_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");  // 0: no question expected
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("second");  // section [2]'s output after
    const QStringList all = {"A          4     GR", "B          4     GR*2", "C          4     GR*3"};
    QTest::newRow("nothing selected: nothing asked") << -1 << 0 << all << "B,GAPI,0, ,0";
    QTest::newRow("No: nothing changes") << 1 << int(QMessageBox::No) << all << "B,GAPI,0, ,0";
    QTest::newRow("Yes: deleted, renumbered")
        << 1 << int(QMessageBox::Yes) << QStringList{all[0], all[2]} << "C,GAPI,0, ,0";
  }
  void deleteOutput() {
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QStringList, lines);
    QFETCH(QString, second);
    home_->WriteJob("DEL.QXJ", JobText({{"A,GAPI,0, ,0", "GR"}, {"B,GAPI,0, ,0", "GR*2"},
                                        {"C,GAPI,0, ,0", "GR*3"}}));
    script_->Expect("Select Quillex Job", ChooseFile(home_->Job("DEL.QXJ")));
    Start();
    QTRY_COMPARE(program_->ListLines().size(), 3);
    auto* list = program_->Control<QListWidget>(104);
    if (row >= 0) {
      script_->Expect("Quillex", ModalScript::Press(QMessageBox::StandardButton(answer)));
      list->setCurrentRow(row);
      QTest::keyClick(list, Qt::Key_Delete);
    } else {
      list->clearSelection();
      program_->Menu(129);
    }
    ExpectScriptDone();
    QCOMPARE(script_->seen().size(), answer == 0 ? 1 : 2);
    if (answer != 0) QCOMPARE(script_->seen().last(), QStringLiteral("Quillex: Delete output B?"));
    QCOMPARE(program_->ListLines(), lines);
    std::string file = JobFileText(home_->Job("DEL.QXJ"));
    QVERIFY(file.find("[2]\noutput=" + second.toStdString()) != std::string::npos);
    QCOMPARE(file.find("[3]") != std::string::npos, lines.size() == 3);
  }

  // A job holds formulas of one kind: switching the option in a job with
  // outputs asks for a new job first; cancelling leaves everything.
  void runOption_data() {
    QTest::addColumn<bool>("newJob");
    QTest::newRow("cancelled: nothing changes") << false;
    QTest::newRow("a new job: report runs") << true;
  }
  void runOption() {
    QFETCH(bool, newJob);
    home_->WriteJob("OPT.QXJ", JobText({{"A,GAPI,0, ,0", "GR"}}));
    script_->Expect("Select Quillex Job", ChooseFile(home_->Job("OPT.QXJ")));
    Start();
    QTRY_COMPARE(program_->ListLines().size(), 1);
    script_->Expect("Select Quillex Job", newJob ? ChooseFile(home_->Job("NEW.QXJ")) : ModalScript::Cancel());
    program_->Menu(135);
    ExpectScriptDone();
    QCOMPARE(program_->context().job.runOption, newJob ? 1 : 0);
    QCOMPARE(program_->window().MenuItem(134)->isChecked(), !newJob);
    QCOMPARE(program_->window().MenuItem(135)->isChecked(), newJob);
    for (int id : {119, 105, 109, 120, 102}) QCOMPARE(program_->Control(id)->isEnabled(), !newJob);
    QCOMPARE(program_->ListLines().size(), newJob ? 0 : 1);
  }

  // The input browser fills the source and a new destination beside it and
  // points every variable at the curve of its name; with no database yet
  // it says where databases come from.
  void inputBrowser_data() {
    QTest::addColumn<bool>("databases");
    QTest::newRow("a data set chosen") << true;
    QTest::newRow("no databases: told where they come from") << false;
  }
  void inputBrowser() {
    QFETCH(bool, databases);
    if (!databases) std::filesystem::remove(home_->well);
    home_->WriteJob("SRC.QXJ", JobText({{"A,GAPI,0, ,0", "GR*2"}, {"B,GAPI,0, ,0", "(GR+X)/2"}}));
    script_->Expect("Select Quillex Job", ChooseFile(home_->Job("SRC.QXJ")));
    Start();
    QTRY_COMPARE(program_->ListLines().size(), 2);
    if (databases) {
      script_->Expect("Input Source", ChooseItem(home_->well, kInputSet));
    } else {
      script_->Expect("Input Source", [](QWidget* dialog) {
        auto* empty = dialog->findChild<QLabel*>(QStringLiteral("EmptyState"));
        QVERIFY(empty->isVisible());
        QVERIFY(empty->text().contains("dorvex create"));
        QVERIFY(empty->text().contains("dorvex import-las"));
        qobject_cast<QDialog*>(dialog)->reject();
      });
    }
    program_->Click(115);
    ExpectScriptDone();
    QCOMPARE(program_->Text(106), databases ? QStringLiteral("WELL: /A/B/C/SET1") : QString());
    QCOMPARE(program_->Text(108), databases ? QStringLiteral("WELL: /A/B/C/_qxj1_") : QString());
    std::string file = JobFileText(home_->Job("SRC.QXJ"));
    for (const char* key : {"[1]\n", "GRpath=WELL: /A/B/C/SET1/GR\n", "[2]\n",
                            "GRpath=WELL: /A/B/C/SET1/GR\nXpath=WELL: /A/B/C/SET1/X\n"}) {
      QCOMPARE(file.find(key) != std::string::npos, databases || std::string(key)[0] == '[');
    }
  }

  // A math error in a run shows "ERRDLG": No stops the run, Yes with the
  // box ticked goes on without asking again.
  void mathError_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("status");
    QTest::newRow("No stops the run") << 2 << false << "Cancelled.";
    QTest::newRow("Yes, no more warnings") << 1 << true << "Done.";
  }
  void mathError() {
    QFETCH(int, button);
    QFETCH(bool, tick);
    QFETCH(QString, status);
    home_->WriteJob("DIV.QXJ", JobText({{"Z,GAPI,0, ,0", "GR/(GR-GR)"}}));
    ExpectRunStart();
    script_->Expect("Math error has occurred", [button, tick](QWidget* dialog) {
      QCOMPARE(dialog->parentWidget(), nullptr);
      dialog->findChild<QCheckBox*>(QStringLiteral("1000"))->setChecked(tick);
      dialog->findChild<QPushButton*>(QString::number(button))->click();
    });
    Start("DIV.QXJ");
    WaitForStatus(status);
    ExpectScriptDone();
  }

  // A report run shows its report in a window that saves and copies it.
  void reportRun() {
    home_->WriteJob("REP.QXJ", JobText({{"GRAVG,GAPI,0, ,0", "AVERAGE(GR)"}}, 1));
    script_->Expect("Input Source", ChooseItem(home_->well, kInputSet));
    Start("REP.QXJ");
    WaitForStatus("Done.");
    ExpectScriptDone();
    ReportWindow* report = nullptr;
    QTRY_VERIFY((report = program_->window().findChild<ReportWindow*>()) != nullptr);
    QVERIFY(report->isVisible());
    QString text = report->text();
    QVERIFY(text.contains("Quillex Results"));
    QVERIFY(text.contains("GRAVG     WELL: /A/B/C/SET1/GR"));
    report->Copy();
    QCOMPARE(QApplication::clipboard()->text(), text);
    std::string saved = home_->home + "/report.txt";
    QVERIFY(report->SaveTo(QString::fromStdString(saved)));
    QCOMPARE(QString::fromStdString(ReadWhole(saved)), text);
  }

  // F1 in the output list opens the manual; Search lists keywords by their
  // start, read from the pages (each of which has some).
  void help() {
    for (const HelpPage& page : HelpWindow::Pages()) QVERIFY(!PageKeywords(page.html).empty());
    script_->Expect("Select Quillex Job", ModalScript::Cancel());
    Start();
    ExpectScriptDone();
    QTest::keyClick(program_->Control(104), Qt::Key_F1);
    HelpWindow& help = program_->window().Help();
    QVERIFY(help.isVisible());
    auto* text = help.findChild<QTextBrowser*>(QStringLiteral("HelpText"));
    QVERIFY(text->toPlainText().contains("Contents"));
    program_->Menu(133);
    help.findChild<QLineEdit*>(QStringLiteral("HelpKeyword"))->setText("las");
    auto* topics = help.findChild<QListWidget*>(QStringLiteral("HelpTopics"));
    QVERIFY(topics->count() > 0);
    for (int row = 0; row < topics->count(); ++row) QVERIFY(topics->item(row)->text().startsWith("LAS", Qt::CaseInsensitive));
    QTest::keyClick(help.findChild<QLineEdit*>(QStringLiteral("HelpKeyword")), Qt::Key_Return);
    QVERIFY(text->source().toString().endsWith(".html"));
  }
};

}  // namespace quillex

QTEST_MAIN(quillex::MainWindowTest)
#include "main_window_test.moc"
