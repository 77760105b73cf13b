#include "ui/main/Module1.h"

#include "calc/NumberText.h"
#include "platform/MessageBox.h"
#include "ui/main/frmMainfrm.h"

#include <QLineEdit>

namespace Module1 {

void ResetFigures() {
    if (platform::MessageBox::current().askYesNo(
            QStringLiteral("Are you sure you want to completely reset your figures?")))
        frmMainfrm::instance().load().txtGrandtot->setText(QString::fromStdString(ZeroAmountText));
}

} // namespace Module1
