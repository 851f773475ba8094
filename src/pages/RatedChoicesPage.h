#pragma once

#include <QGroupBox>
#include <array>

#include "pages/AnswerPage.h"
#include "pages/CodeLists.h"

// The four rated choices of a favourites or dislikes page: each slot is a character (or part) list,
// a trend list and an intensity with its tune. Favorites and Dislikes, More Favorites and More
// Dislikes are instances of the two page classes built on this one.
class RatedChoicesPage : public AnswerPage {
    Q_OBJECT
  public:
    // The answers of one slot, as fields of the page's answer struct.
    struct SlotFields {
        int32_t* Choice;
        int32_t* Trend;
        int32_t* Intensity;
        int16_t* Boost;
    };
    struct SlotDescription {
        const CodeTable* Table;
        const char* Name;             // the choice's value name, e.g. "Senshi0"; names the controls
        const char* Subject;          // what a screen reader calls the choice: "first senshi"
        const char* IntensityCaption; // "&Intensity", "I&ntensity", ...
        SlotFields Fields;
    };

    static constexpr int SlotCount = 4;

  protected:
    // Slots 0 and 1 go in the first group box, 2 and 3 in the second.
    RatedChoicesPage(EncoderSheet& sheet, const QString& caption, int sectionNumber,
                      const QString& firstGroup, const QString& secondGroup,
                      const std::array<SlotDescription, SlotCount>& slotDescriptions);

    void OnInitDialog() override;
    void ShowAnswers() override;
    void UpdateControls() override;

  private:
    struct Slot {
        SlotDescription Description;
        CodeComboBox* Choice = nullptr;
        CodeComboBox* Trend = nullptr;
        QGroupBox* IntensityFrame = nullptr;
        TuneGroup Tune;
    };

    void OnChoiceChanged(Slot& slot, int index);
    void OnTrendChanged(Slot& slot, int index);
    // A slot's trend and intensity are open while something is chosen in it.
    void SlotRule(Slot& slot);

    std::array<Slot, SlotCount> m_slots;
};
