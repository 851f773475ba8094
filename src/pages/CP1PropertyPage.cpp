#include "pages/CP1PropertyPage.h"

#include "code/CodeFrame.h"

CP1PropertyPage::CP1PropertyPage(CGCPropertySheet& sheet)
    : CBasePropertyPage(sheet, tr("More Personal"), MorePersonalSection) {}
