#include "pages/CP0PropertyPage.h"

#include "code/CodeFrame.h"

CP0PropertyPage::CP0PropertyPage(CGCPropertySheet& sheet)
    : CBasePropertyPage(sheet, tr("Personal"), PersonalSection) {}
