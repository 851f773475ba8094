#include "pages/PageControls.h"

QString PlainCaption(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // the marker goes, the character it marks (or a doubled '&') stays
        plain += caption[i];
    }
    return plain;
}

QCheckBox* MakeFlagBox(QWidget* parent, const QString& caption, const QString& name) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(PlainCaption(caption));
    return box;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& caption, const QString& name) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setAccessibleName(PlainCaption(caption));
    return frame;
}

CodeComboBox* MakeCodeList(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* list = new CodeComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    return list;
}

CountBox* MakeCountBox(QWidget* parent, const QString& name, const QString& accessibleName,
                       Qt::Alignment alignment) {
    auto* box = new CountBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setAlignment(alignment);
    return box;
}

TuneGroup MakeLevelTuneGroup(QWidget* parent, const QString& accessibleName, const QString& subject,
                             const QString& name) {
    TuneGroup group = MakeTuneGroup(parent, accessibleName, subject, name);
    group.Slider->setObjectName(name);
    group.Frame->setAccessibleName(QObject::tr("Tune"));
    return group;
}
