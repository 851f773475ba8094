#include "pages/CP2PropertyPage.h"

#include "code/CodeFrame.h"

CP2PropertyPage::CP2PropertyPage(CGCPropertySheet& sheet)
    : CBasePropertyPage(sheet, tr("Even More Personal"), EvenMorePersonalSection) {}
