#pragma once

#include "platform/WindowInstance.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace platform {
class TabStrip;
}

// The tabbed dialog that holds the results folder. The folder has no store of its own: it is
// the text of txtPath in the loaded instance, read whenever the results file is used.
class frmOptions : public QWidget {
    Q_OBJECT
public:
    frmOptions();
    ~frmOptions() override;

    // The program-wide instance.
    static platform::WindowInstance<frmOptions>& instance();

    // Panel i belongs to tab i + 1; only the selected tab's panel is in place.
    std::array<QWidget*, 4> picOptions;
    QGroupBox* fraSample4;
    QGroupBox* fraSample3;
    QGroupBox* fraSample2;
    QLineEdit* txtPath;
    QLabel* lblPath;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    platform::TabStrip* tbsOptions;

    void Form_Load();
    void tbsOptions_Click();
    // keyCode as the window system numbers keys (Tab = 9); shift: Shift 1, Ctrl 2, Alt 4.
    void Form_KeyDown(int keyCode, int shift);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    bool previewKey(QKeyEvent* event);

    const QEvent* m_previewedKey = nullptr;
    QPointer<QWidget> m_previewedAt;
};
