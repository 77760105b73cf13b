#include "platform/Files.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using platform::RuntimeError;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Records the path it was asked to open and writes nothing.
class RecordingWriter : public platform::FileWriter {
public:
    explicit RecordingWriter(QStringList& opened) : m_opened(opened) {}
    void open(const QString& path) override { m_opened.append(path); }
    void write(const QByteArray&) override {}
    void flush() override {}
    void commit() override {}

private:
    QStringList& m_opened;
};

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
    frmOptions::instance().load().txtPath->setText(m_dir->path());
    frmMainfrm& w = frmMainfrm::instance().show();
    w.txtStakebet->setText(QStringLiteral("10"));
    w.txtLower->setEditText(QStringLiteral("5"));
    w.txtUpper->setEditText(QStringLiteral("2"));
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
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

    w.mnuPath->trigger();
    frmOptions& options = *frmOptions::instance().loaded();
    QVERIFY(options.isVisible());
    options.txtPath->selectAll();
    QTest::keyClicks(options.txtPath, m_dir->filePath("typed"));
    if (pressOk)
        QTest::mouseClick(options.cmdOK, Qt::LeftButton);
    QCOMPARE(options.isVisible(), !pressOk);

    QTest::mouseClick(w.cmdSaveresults, Qt::LeftButton);
    QCOMPARE(contentsOf(m_dir->filePath("typed/quorvexresults.txt")), QByteArray("\" 35\"\r\n"));
    QCOMPARE(m_box->okTexts, QStringList{"Data saved to file!"});

    // A second save replaces the first: one line.
    w.txtRunning->setText(QStringLiteral("abc"));
    QTest::mouseClick(w.cmdSaveresults, Qt::LeftButton);
    QCOMPARE(contentsOf(m_dir->filePath("typed/quorvexresults.txt")), QByteArray("\"abc\"\r\n"));
}

void tst_Save::afterCancelTheFolderIsTheDesignOne() {
    frmMainfrm& w = settledWindow();
    frmOptions::instance().show();
    QTest::mouseClick(frmOptions::instance().loaded()->cmdCancel, Qt::LeftButton);
    QVERIFY(!frmOptions::instance().isLoaded());

    QStringList opened;
    const auto previous = platform::replaceFileWriter(
        [&opened] { return std::make_unique<RecordingWriter>(opened); });
    QTest::mouseClick(w.cmdSaveresults, Qt::LeftButton);
    platform::replaceFileWriter(previous);

    QCOMPARE(opened, QStringList{"c:\\\\quorvexresults.txt"});
    QCOMPARE(platform::nativeFilePath(opened.first()), QStringLiteral("/quorvexresults.txt"));
    QVERIFY(frmOptions::instance().isLoaded()); // loaded again, hidden, by the save
    QVERIFY(!frmOptions::instance().isVisible());
}

void tst_Save::failedSaveShowsErrorAndKeepsEverything_data() {
    QTest::addColumn<QString>("folder"); // inside the temporary folder
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << "missing"
                                    << "Run-time error '76':\n\nPath not found";
    QTest::newRow("path through a file") << "file.txt"
                                         << "Run-time error '76':\n\nPath not found";
}

void tst_Save::failedSaveShowsErrorAndKeepsEverything() {
    QFETCH(QString, folder);
    QFETCH(QString, message);
    frmMainfrm& w = settledWindow();
    QFile file(m_dir->filePath("file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    frmOptions::instance().load().txtPath->setText(m_dir->filePath(folder));

    QStringList before;
    for (QLineEdit* field : w.findChildren<QLineEdit*>())
        before << field->text();
    QTest::mouseClick(w.cmdSaveresults, Qt::LeftButton);

    QCOMPARE(m_box->okTexts, QStringList{message}); // and no "Data saved to file!"
    QCOMPARE(m_env->programEnds, 0);
    QVERIFY(frmMainfrm::instance().isVisible());
    QStringList after;
    for (QLineEdit* field : w.findChildren<QLineEdit*>())
        after << field->text();
    QCOMPARE(after, before);
}

QUORVEX_TEST_MAIN(tst_Save)
#include "tst_Save.moc"
