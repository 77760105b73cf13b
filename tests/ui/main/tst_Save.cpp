#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"
#include "platform/nix/QtWindow.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace qt = platform::qt;
using platform::RuntimeError;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What the user sees of the main window: every control's text, value and visibility.
QStringList screenOf(frmMainfrm& w) {
    QStringList screen;
    const platform::NativeWindow& window = w.window();
    const auto& controls = frmMainfrm::design().controls;
    for (int row = 0; row < int(controls.size()); ++row) {
        const platform::ControlDesign& design = controls[std::size_t(row)];
        if (design.kind == platform::ControlKind::Menu ||
            design.kind == platform::ControlKind::MenuItem)
            continue;
        screen << QStringLiteral("%1=%2 %3 %4")
                      .arg(QString::fromUtf8(design.name), QString::fromStdString(window.text(row)))
                      .arg(window.value(row))
                      .arg(window.isVisible(row));
    }
    return screen;
}

// The texts of the main window's fields.
QStringList fieldTexts(frmMainfrm& w) {
    QStringList texts;
    for (QLineEdit* field : qt::widget(w)->findChildren<QLineEdit*>())
        texts << field->text();
    return texts;
}

} // namespace

class tst_Save : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savesIntoTheTypedFolder_data();
    void savesIntoTheTypedFolder();
    void afterCancelTheFolderIsTheDesignOne();
    void failedSaveShowsErrorAndKeepsEverything_data();
    void failedSaveShowsErrorAndKeepsEverything();
    void saveFailingAtEachStepKeepsTheOldFile_data();
    void saveFailingAtEachStepKeepsTheOldFile();
    void savesWhereTheUserKeepsTheFile_data();
    void savesWhereTheUserKeepsTheFile();

private:
    frmMainfrm& settledWindow();

    testsupport::FakeMessageBox* m_box = nullptr;
    testsupport::TestEnvironment* m_env = nullptr;
    QTemporaryDir* m_dir = nullptr;
};

void tst_Save::init() {
    m_box = new testsupport::FakeMessageBox;
    m_env = new testsupport::TestEnvironment;
    m_dir = new QTemporaryDir;
}

void tst_Save::cleanup() {
    testsupport::unloadAllWindows();
    delete m_dir;
    delete m_env;
    delete m_box;
}

frmMainfrm& tst_Save::settledWindow() {
    frmOptions::instance().load().txtPath.setText(m_dir->path().toStdString());
    frmMainfrm& w = frmMainfrm::instance().show();
    w.txtStakebet.setText("10");
    w.txtLower.setText("5");
    w.txtUpper.setText("2");
    QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);
    return w;
}

void tst_Save::savesIntoTheTypedFolder_data() {
    QTest::addColumn<bool>("pressOk");
    QTest::newRow("while the dialog is open") << false;
    QTest::newRow("after OK") << true;
}

void tst_Save::savesIntoTheTypedFolder() {
    QFETCH(bool, pressOk);
    frmMainfrm& w = settledWindow();
    QVERIFY(QDir(m_dir->path()).mkdir("typed"));

    qt::action(w.mnuPath)->trigger();
    QVERIFY(frmOptions::instance().isVisible());
    frmOptions& options = *frmOptions::instance().loaded();
    auto* path = qt::widget<QLineEdit>(options.txtPath);
    path->selectAll();
    QTest::keyClicks(path, m_dir->filePath("typed"));
    if (pressOk)
        QTest::mouseClick(qt::widget(options.cmdOK), Qt::LeftButton);
    QCOMPARE(frmOptions::instance().isVisible(), !pressOk);

    QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);
    QCOMPARE(contentsOf(m_dir->filePath("typed/quorvexresults.txt")), QByteArray("\" 35\"\r\n"));
    QCOMPARE(testsupport::toQt(m_box->okTexts), QStringList{"Data saved to file!"});

    // A second save replaces the first: one line.
    w.txtRunning.setText("abc");
    QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);
    QCOMPARE(contentsOf(m_dir->filePath("typed/quorvexresults.txt")), QByteArray("\"abc\"\r\n"));
}

void tst_Save::afterCancelTheFolderIsTheDesignOne() {
    frmMainfrm& w = settledWindow();
    QTest::mouseClick(qt::widget(frmOptions::instance().show().cmdCancel), Qt::LeftButton);
    QVERIFY(!frmOptions::instance().isLoaded());

    QStringList opened;
    {
        testsupport::RecordingWriters recording;
        QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);
        opened = testsupport::toQt(recording.opened);
    }

    QCOMPARE(opened, QStringList{"c:\\\\quorvexresults.txt"});
    QCOMPARE(platform::slashPath(opened.first().toStdString()), "/quorvexresults.txt");
    QVERIFY(frmOptions::instance().isLoaded()); // loaded again, hidden, by the save
    QVERIFY(!frmOptions::instance().isVisible());
}

void tst_Save::failedSaveShowsErrorAndKeepsEverything_data() {
    QTest::addColumn<QString>("folder"); // inside the temporary folder
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("missing folder") << "missing" << "Run-time error '76':\n\nPath not found";
    QTest::newRow("path through a file") << "file.txt" << "Run-time error '76':\n\nPath not found";
    // clang-format on
}

void tst_Save::failedSaveShowsErrorAndKeepsEverything() {
    QFETCH(QString, folder);
    QFETCH(QString, message);
    frmMainfrm& w = settledWindow();
    QFile file(m_dir->filePath("file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    frmOptions::instance().load().txtPath.setText(m_dir->filePath(folder).toStdString());

    const QStringList before = fieldTexts(w);
    QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);

    QCOMPARE(testsupport::toQt(m_box->okTexts),
             QStringList{message}); // and no "Data saved to file!"
    QCOMPARE(m_env->ends, 0);
    QVERIFY(frmMainfrm::instance().isVisible());
    QCOMPARE(fieldTexts(w), before);
}

void tst_Save::saveFailingAtEachStepKeepsTheOldFile_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("error");
    using Writers = testsupport::FailingWriters;
    // clang-format off
    QTest::newRow("opening the new file")       << int(Writers::Open)   << int(RuntimeError::PermissionDenied);
    QTest::newRow("writing")                    << int(Writers::Write)  << int(RuntimeError::DiskFull);
    QTest::newRow("flushing")                   << int(Writers::Flush)  << int(RuntimeError::DiskFull);
    QTest::newRow("committing the replacement") << int(Writers::Commit) << int(RuntimeError::PathFileAccess);
    // clang-format on
}

void tst_Save::saveFailingAtEachStepKeepsTheOldFile() {
    QFETCH(int, step);
    QFETCH(int, error);
    const QByteArray previous("\" 12.5\"\r\n");
    QFile old(m_dir->filePath("quorvexresults.txt"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(previous) == previous.size());
    old.close();
    frmMainfrm& w = settledWindow();
    QCOMPARE(w.txtRunning.text(), " 47.5"); // a new total that would replace it
    const QStringList screen = screenOf(w);
    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);

    {
        testsupport::FailingWriters failing{testsupport::FailingWriters::Step(step),
                                            RuntimeError::Number(error)};
        QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);
    }

    QCOMPARE(contentsOf(old.fileName()), previous);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files); // nothing left over
    QCOMPARE(m_env->ends, 0);
    QVERIFY(frmMainfrm::instance().isVisible());
    QCOMPARE(testsupport::toQt(m_box->okTexts),
             QStringList{QString::fromStdString(
                 platform::runtimeErrorText(RuntimeError::of(RuntimeError::Number(error))))});
    QCOMPARE(screenOf(w), screen);

    // The program goes on: the next save, with the disk mended, replaces the file.
    QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);
    QCOMPARE(contentsOf(old.fileName()), QByteArray("\" 47.5\"\r\n"));
    QCOMPARE(m_box->okTexts.back(), std::string("Data saved to file!"));
}

void tst_Save::savesWhereTheUserKeepsTheFile_data() {
    QTest::addColumn<QString>("file"); // what the figures are saved into
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("beside"); // another file in the folder, to be left as it is
    // clang-format off
    QTest::newRow("through a link, to a private file") << "real/figures.txt" << 0600 << "";
    QTest::newRow("beside a running program's temporary file") << "quorvexresults.txt" << 0644 << "~quorvexresults.txt.1-1.tmp";
    // clang-format on
}

void tst_Save::savesWhereTheUserKeepsTheFile() {
    QFETCH(QString, file);
    QFETCH(int, mode);
    QFETCH(QString, beside);
    QDir folder(m_dir->path());
    QVERIFY(folder.mkdir("real"));
    QFile old(folder.filePath(file));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("\"9\"\r\n") == 5);
    old.close();
    QVERIFY(::chmod(QFile::encodeName(old.fileName()).constData(), mode_t(mode)) == 0);
    if (file != "quorvexresults.txt")
        QVERIFY(QFile::link(file, folder.filePath("quorvexresults.txt")));
    if (!beside.isEmpty()) {
        QFile other(folder.filePath(beside));
        QVERIFY(other.open(QIODevice::WriteOnly));
    }
    const QStringList listing = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);

    frmMainfrm& w = settledWindow();
    QTest::mouseClick(qt::widget(w.cmdSaveresults), Qt::LeftButton);

    // The 9 read back through the same path at start-up, and 35 won on top of it.
    QCOMPARE(contentsOf(old.fileName()), QByteArray("\" 44\"\r\n"));
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(old.fileName()).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, mode_t(mode));
    QCOMPARE(QFileInfo(folder.filePath("quorvexresults.txt")).isSymLink(),
             file != "quorvexresults.txt");
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden | QDir::System), listing);
    QCOMPARE(testsupport::toQt(m_box->okTexts), QStringList{"Data saved to file!"});
}

QUORVEX_TEST_MAIN(tst_Save)
#include "tst_Save.moc"
