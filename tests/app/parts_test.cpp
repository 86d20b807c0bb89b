// The pieces the windows are made of: the templates as shipped and as
// built (every control at its place in dialog units, named by its id), the
// math-error dialog's answers, the browser's tree model and the program's
// command line.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <clocale>

#include "app/database_tree_model.h"
#include "app/main_window.h"
#include "app/math_error_dialog.h"
#include "app/output_list.h"
#include "curvedata/context.h"
#include "tests/app/app_fixture.h"
#include "tests/support/scripted_screen.h"

namespace quillex {

class PartsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

  // Mistakes in a template are named by line.
  void templateMistakes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("no header") << "size 1 1\nend" << "line 1: a template begins with dialog NAME";
    QTest::newRow("unknown kind") << "dialog D\nsize 9 9\nslider 1 \"\" 0 0 1 1\nend"
                                  << "line 3: unknown word 'slider'";
    QTest::newRow("short rectangle") << "dialog D\nsize 9 9\nedit 1 \"\" 0 0 1\nend"
                                     << "line 3: a control is KIND ID \"TEXT\" LEFT TOP WIDTH HEIGHT [STYLE ...]";
    QTest::newRow("id twice") << "dialog D\nsize 9 9\nedit 1 \"\" 0 0 1 1\nedit 1 \"\" 0 0 1 1\nend"
                              << "line 4: a second control 1";
    QTest::newRow("open quote") << "dialog D\ncaption \"Q\nend" << "line 2: a text has no closing quote";
    QTest::newRow("no size") << "dialog D\nend" << "line 2: no size";
  }
  void templateMistakes() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    std::string said;
    QVERIFY(!ReadDialogTemplate(text.toStdString(), &said).has_value());
    QCOMPARE(QString::fromStdString(said), error);
  }

  // The main window as "MAINDLG" and "MENU_1" draw it: every control at its
  // rectangle in dialog units of the dialog font, named by its id.
  void mainWindowIsItsTemplate() {
    ScriptedScreen screen;
    Context context(screen);
    MainWindow window(context);
    DialogTemplate dialog = LoadDialogTemplate("MAINDLG");
    QCOMPARE(dialog.controls.size(), size_t(27));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quillex"));
    DialogUnits units(DialogFont(dialog));
    QWidget* client = window.centralWidget();
    QCOMPARE(client->size(), QSize(units.X(334), units.Y(229)));
    for (const ControlTemplate& control : dialog.controls) {
      if (control.id == kNoControlId) continue;
      QWidget* widget = client->findChild<QWidget*>(QString::number(control.id));
      QVERIFY2(widget != nullptr, control.text.c_str());
      QCOMPARE(widget->geometry(), units.Rect(control.left, control.top, control.width, control.height));
    }
    QVERIFY(QFontInfo(window.outputList()->font()).fixedPitch());
    const std::vector<std::pair<int, QString>> items = {
        {121, "&New"}, {122, "&Open"}, {123, "&Save"}, {124, "Save &as"}, {125, "&Run"},
        {126, "E&xit"}, {127, "&Edit"}, {128, "&Add"}, {129, "&Delete"},
        {134, "Generate &Curve(s)"}, {135, "Generate &Report"}, {130, "&Contents"},
        {133, "&Search"}, {132, "&About"}};
    for (const auto& [id, text] : items) QCOMPARE(window.MenuItem(id)->text(), text);
    QVERIFY(window.MenuItem(134)->isChecked());
    QVERIFY(!window.MenuItem(135)->isChecked());
  }

  // "ERRDLG": what each way out answers.
  void mathErrorDialog_data() {
    QTest::addColumn<int>("button");  // 0: closed, -1: Esc
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dontShow");
    QTest::newRow("Yes") << 1 << false << int(MathErrorAnswer::kYes) << false;
    QTest::newRow("Yes, ticked") << 1 << true << int(MathErrorAnswer::kYes) << true;
    QTest::newRow("No, ticked") << 2 << true << int(MathErrorAnswer::kNo) << false;
    QTest::newRow("closed, ticked") << 0 << true << int(MathErrorAnswer::kClose) << false;
    QTest::newRow("Esc") << -1 << false << int(MathErrorAnswer::kNo) << false;
  }
  void mathErrorDialog() {
    QFETCH(int, button);
    QFETCH(bool, tick);
    QFETCH(int, answer);
    QFETCH(bool, dontShow);
    ModalScript script;
    script.Expect("Math error has occurred", [=](QWidget* dialog) {
      QVERIFY(dialog->findChild<QPushButton*>("1")->isDefault());
      dialog->findChild<QCheckBox*>("1000")->setChecked(tick);
      if (button > 0) dialog->findChild<QPushButton*>(QString::number(button))->click();
      if (button == 0) dialog->close();
      if (button < 0) QTest::keyClick(dialog, Qt::Key_Escape);
    });
    MathErrorDialog dialog;
    MathErrorAnswer got = dialog.Ask();
    QCOMPARE(int(got.button), answer);
    QCOMPARE(got.dontShowAgain, dontShow);
  }

  // The browser's model holds up to the toolkit's checks, and finds items
  // by path.
  void browserModel() {
    AppHome home;
    home.PutCurve("/A/B/C/SET1/GR/1", 1000, 0.5, {1, 2, 3});
    home.PutCurve("/A/B/C/SET1/GR/2", 1000, 0.5, {1, 2, 3});
    home.PutCurve("/A/B/D/SET2/RHOB/1", 1000, 0.5, {1, 2});
    ScriptedScreen screen;
    Context context(screen);
    QCOMPARE(dorvex::DorvexInitializeAt(context.dorvex, home.home), 1);
    DatabaseTreeModel model(ListBrowseTree(context, "/*/*/*/*"));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QModelIndex set = model.Find(home.well, "/A/B/C/SET1");
    QVERIFY(model.Choosable(set));
    QCOMPARE(model.ItemPath(set), std::string("/A/B/C/SET1"));
    QCOMPARE(model.rowCount(set), 1);  // GR, shown but not to be chosen
    QVERIFY(!model.Choosable(model.index(0, 0, set)));
    QVERIFY(!model.Find(home.well, "/A/B/C/SET9").isValid());
  }

  // The command line of the program itself.
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // a line of standard output or error
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "quillex 0.1.0";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "usage: quillex [--home DIR] [JOBFILE]";
    QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << "quillex: unknown option '--colour'";
    // A library that cannot start ends the program at once, without a window.
    QTest::newRow("library fails: status 0")
        << QStringList{"--home", "/proc/version/home"} << 0 << "quillex: cannot use the home folder";
  }
  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess quillex;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    quillex.setProcessEnvironment(environment);
    quillex.start(ToolPath("quillex"), arguments);
    QVERIFY(quillex.waitForFinished(20000));
    QCOMPARE(quillex.exitCode(), status);
    QString said = QString::fromUtf8(quillex.readAllStandardOutput() + quillex.readAllStandardError());
    QVERIFY2(said.contains(output), qPrintable(said));
  }
};

}  // namespace quillex

QTEST_MAIN(quillex::PartsTest)
#include "parts_test.moc"
