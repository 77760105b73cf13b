#include "app/Main.h"

#include "ui/main/frmMainfrm.h"

namespace Module1 {

void Main() { frmMainfrm::instance().show(); }

} // namespace Module1
