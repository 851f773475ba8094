#include "pages/SenshiVillainPage.h"
#include "pages/AssistPartPage.h"
#include "vocabulary/Tables.h"

// The answer struct is a member of the derived page, constructed after the base; the base only
// keeps pointers to its fields, which are valid for the page's whole life.
SenshiVillainPage::SenshiVillainPage(EncoderSheet& sheet, const QString& caption, int sectionNumber)
    : RatedChoicesPage(sheet, caption, sectionNumber, tr("&Senshi"), tr("&Villians"),
                        {{{&SenshiTable,
                           "Senshi0",
                           QT_TR_NOOP("first senshi"),
                           QT_TR_NOOP("&Intensity"),
                           {&m_answers.Senshi0, &m_answers.TrendSenshi0, &m_answers.IntensitySenshi0,
                            &m_answers.BoostSenshi0}},
                          {&SenshiTable,
                           "Senshi1",
                           QT_TR_NOOP("second senshi"),
                           QT_TR_NOOP("I&ntensity"),
                           {&m_answers.Senshi1, &m_answers.TrendSenshi1, &m_answers.IntensitySenshi1,
                            &m_answers.BoostSenshi1}},
                          {&VillianTable,
                           "Villian0",
                           QT_TR_NOOP("first villain"),
                           QT_TR_NOOP("In&tensity"),
                           {&m_answers.Villian0, &m_answers.TrendVillian0, &m_answers.IntensityVillian0,
                            &m_answers.BoostVillian0}},
                          {&VillianTable,
                           "Villian1",
                           QT_TR_NOOP("second villain"),
                           QT_TR_NOOP("Int&ensity"),
                           {&m_answers.Villian1, &m_answers.TrendVillian1, &m_answers.IntensityVillian1,
                            &m_answers.BoostVillian1}}}}) {}

AssistPartPage::AssistPartPage(EncoderSheet& sheet, const QString& caption, int sectionNumber)
    : RatedChoicesPage(
          sheet, caption, sectionNumber, tr("&Assisting Characters"), tr("&Parts (Seasons)"),
          {{{&AssistTable,
             "Assist0",
             QT_TR_NOOP("first assisting character"),
             QT_TR_NOOP("&Intensity"),
             {&m_answers.Assist0, &m_answers.TrendAssist0, &m_answers.IntensityAssist0,
              &m_answers.BoostAssist0}},
            {&AssistTable,
             "Assist1",
             QT_TR_NOOP("second assisting character"),
             QT_TR_NOOP("I&ntensity"),
             {&m_answers.Assist1, &m_answers.TrendAssist1, &m_answers.IntensityAssist1,
              &m_answers.BoostAssist1}},
            {&PartTable,
             "Part0",
             QT_TR_NOOP("first part"),
             QT_TR_NOOP("In&tensity"),
             {&m_answers.Part0, &m_answers.TrendPart0, &m_answers.IntensityPart0, &m_answers.BoostPart0}},
            {&PartTable,
             "Part1",
             QT_TR_NOOP("second part"),
             QT_TR_NOOP("Int&ensity"),
             {&m_answers.Part1, &m_answers.TrendPart1, &m_answers.IntensityPart1, &m_answers.BoostPart1}}}}) {
}
