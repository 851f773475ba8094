#include "pages/AnswerPage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScrollBar>
#include <memory>

#include "pages/EncoderSheet.h"
#include "pages/DecoderHandOff.h"

namespace {

// Scrolls a page's questions, and asks for their whole size so that the sheet opens large enough
// for them where the screen allows.
class PageScrollArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override {
        if (!widget())
            return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

} // namespace

AnswerPage::AnswerPage(EncoderSheet& sheet, const QString& caption, int sectionNumber)
    : m_sheet(sheet), m_caption(caption), m_sectionNumber(sectionNumber) {
    auto* layout = new QVBoxLayout(this);
    m_scrollArea = new PageScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    auto* body = new QWidget;
    m_body = new QVBoxLayout(body);
    m_body->setContentsMargins(0, 0, 0, 0);
    m_scrollArea->setWidget(body);
    layout->addWidget(m_scrollArea, 1);
}

void AnswerPage::BuildFoot() {
    if (m_codeBox)
        return;
    auto* footer = new QHBoxLayout;
    m_codeBox = new QPlainTextEdit(this);
    m_codeBox->setObjectName(QStringLiteral("CodeBox"));
    m_codeBox->setAccessibleName(tr("Code"));
    m_codeBox->setReadOnly(true);
    m_codeBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_codeBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_codeBox->setTabChangesFocus(true);
    m_codeBox->setFixedHeight(m_codeBox->fontMetrics().lineSpacing() * 3 + 12);
    // The box's own menu (Copy, Select All) with "Paste Code" beside them.
    m_codeBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_codeBox, &QWidget::customContextMenuRequested, this, &AnswerPage::ShowCodeBoxMenu);
    footer->addWidget(m_codeBox, 1);

    auto* buttons = new QVBoxLayout;
    auto* decode = new QPushButton(tr("&Decode"), this);
    decode->setObjectName(QStringLiteral("Decode"));
    auto* copy = new QPushButton(tr("&Copy Code"), this);
    copy->setObjectName(QStringLiteral("CopyCode"));
    for (QPushButton* button : {decode, copy})
        button->setAutoDefault(false);
    buttons->addWidget(decode);
    buttons->addWidget(copy);
    buttons->addStretch();
    footer->addLayout(buttons);
    static_cast<QVBoxLayout*>(layout())->addLayout(footer);
    if (QWidget* after = AfterFoot())
        setTabOrder(copy, after);

    connect(decode, &QPushButton::clicked, this, &AnswerPage::OnDecode);
    connect(copy, &QPushButton::clicked, this, &AnswerPage::OnCopyCode);
}

AnswerPage::~AnswerPage() {
    // The first page destroyed ends the decoder hand-off; the others find nothing to release.
    ReleaseDecoderHandOff();
}

void AnswerPage::RequestRebuild(int section) {
    m_sheet.RebuildCode(section);
    if (!m_codeBox)
        return;
    const QString code = QString::fromStdString(m_sheet.FullCode());
    if (m_codeBox->toPlainText() != code)
        m_codeBox->setPlainText(code);
}

void AnswerPage::OnSetActive() {
    RequestRebuild(0);
    if (!m_initialised)
        Initialise();
    else
        UpdateControls();
}

void AnswerPage::Initialise() {
    m_initialised = true;
    OnInitDialog();
}

void AnswerPage::TakeAnswers() {
    if (!m_initialised)
        Initialise();
    else
        ShowAnswers();
}

void AnswerPage::TouchEveryLevel() {
    // Sliders first: a slider's handler clamps its tune, which the spin's then finds in range.
    for (CodeSlider* slider : findChildren<CodeSlider*>())
        slider->Touch();
    for (CodeSpinBox* spin : findChildren<CodeSpinBox*>())
        spin->Touch();
}

void AnswerPage::ShowCodeBoxMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(m_codeBox->createStandardContextMenu(position));
    menu->setObjectName(QStringLiteral("CodeBoxMenu"));
    menu->addSeparator();
    QAction* paste = menu->addAction(tr("&Paste Code"));
    paste->setObjectName(QStringLiteral("PasteCode"));
    paste->setShortcut(EncoderSheet::PasteCodeKeys()); // shown; the sheet's shortcut does the work
    if (menu->exec(m_codeBox->viewport()->mapToGlobal(position)) == paste)
        m_sheet.PasteCodeFromClipboard();
}

void AnswerPage::OnCopyCode() {
    if (!m_codeBox)
        return;
    m_codeBox->selectAll();
    m_codeBox->ensureCursorVisible();
    QGuiApplication::clipboard()->setText(m_codeBox->toPlainText());
}

void AnswerPage::OnDecode() {
    HandOffToDecoder(*this, m_codeBox ? m_codeBox->toPlainText() : QString());
}
