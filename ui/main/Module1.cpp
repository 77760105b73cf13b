#include "ui/main/Module1.h"

#include "calc/NumberText.h"
#include "platform/MessageBox.h"
#include "ui/main/frmMainfrm.h"

namespace Module1 {

void ResetFigures() {
    if (platform::MessageBox::current().askYesNo(
            "Are you sure you want to completely reset your figures?"))
        frmMainfrm::instance().load().txtGrandtot.setText(ZeroAmountText);
}

} // namespace Module1
