#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QObject>
#include <QString>
#include <cstdint>

#include "pages/CodeLists.h"
#include "pages/TuneControls.h"

// Builders and bindings the answer pages share. Every control is named after the answer field
// it edits and carries the caption of its own text or of the frame it sits in as its accessible name.

// A caption as a screen reader speaks it: "&Age (yrs)" gives "Age (yrs)", "&&" gives "&".
QString PlainCaption(const QString& caption);

QCheckBox* MakeFlagBox(QWidget* parent, const QString& caption, const QString& name);
QGroupBox* MakeFrame(QWidget* parent, const QString& caption, const QString& name);
CodeComboBox* MakeCodeList(QWidget* parent, const QString& name, const QString& accessibleName);
CountBox* MakeCountBox(QWidget* parent, const QString& name, const QString& accessibleName,
                       Qt::Alignment alignment);
// A level slider named after its field ("Age", "Hair", "Kink") with its "Tune" spin and frame; the
// spin is the tune of subject.
TuneGroup MakeLevelTuneGroup(QWidget* parent, const QString& accessibleName, const QString& subject,
                             const QString& name);

// The handlers: the answer read from the control is stored unchanged, then `after` runs (the rules
// that depend on it and the rebuild). Programmatic updates are made with signals blocked, so these
// run for the user's actions only.
template <typename After> void BindFlag(QCheckBox* box, QObject* context, int32_t& field, After after) {
    QObject::connect(box, &QCheckBox::clicked, context, [box, &field, after] {
        field = FlagOf(*box);
        after();
    });
}

template <typename After> void BindRow(CodeComboBox* list, QObject* context, int32_t& field, After after) {
    QObject::connect(list, &QComboBox::currentIndexChanged, context, [&field, after](int index) {
        field = index;
        after();
    });
}
