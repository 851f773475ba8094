#include "pages/COPropertyPage.h"

#include "code/CodeFrame.h"

COPropertyPage::COPropertyPage(CGCPropertySheet& sheet)
    : CBasePropertyPage(sheet, tr("Opinions"), OpinionsSection) {}
