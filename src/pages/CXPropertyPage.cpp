#include "pages/CXPropertyPage.h"

#include "code/CodeFrame.h"

CXPropertyPage::CXPropertyPage(CGCPropertySheet& sheet)
    : CBasePropertyPage(sheet, tr("Experience"), ExperienceSection) {}
