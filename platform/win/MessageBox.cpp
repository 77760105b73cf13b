#include "platform/MessageBox.h"

#include "platform/AppInfo.h"
#include "platform/Service.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

// Task-modal with no owner: every window of the program waits for the answer, as a modal box
// of the program should, whichever window was in front.
class SystemMessageBox : public MessageBox {
public:
    void showOk(const std::string& text) override { ask(text, MB_OK); }
    bool askYesNo(const std::string& text) override {
        return ask(text, MB_YESNO | MB_DEFBUTTON1) == IDYES;
    }

private:
    static int ask(const std::string& text, UINT buttons) {
        return ::MessageBoxW(nullptr, win::wide(text).c_str(), win::wide(appTitle).c_str(),
                             buttons | MB_TASKMODAL | MB_SETFOREGROUND);
    }
};

} // namespace

MessageBox& MessageBox::current() {
    return currentService<MessageBox, SystemMessageBox>();
}

MessageBox* MessageBox::install(MessageBox* box) {
    return installService(box);
}

} // namespace platform
