// SPDX-License-Identifier: MIT
#include "pages/CodeLists.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>

namespace {

// A drop-down list as a screen reader sees it: named by its question, its choice as its value. (The
// standard one on Linux names the list after its current item, so the name changes with every
// choice and says nothing about the question.)
class CodeComboBoxAccessible : public QAccessibleWidget {
  public:
    explicit CodeComboBoxAccessible(CodeComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        return state;
    }
    // The items, in the list that drops down.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    CodeComboBox* list() const { return static_cast<CodeComboBox*>(widget()); }
};

QAccessibleInterface* CodeListAccessibility(const QString& className, QObject* object) {
    if (className == QLatin1String("CodeComboBox") && object && object->isWidgetType())
        return new CodeComboBoxAccessible(static_cast<CodeComboBox*>(object));
    return nullptr;
}

} // namespace

CodeComboBox::CodeComboBox(QWidget* parent) : QComboBox(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(&CodeListAccessibility);
        return true;
    }();
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::StrongFocus);
}

void CodeComboBox::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void CodeComboBox::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool searching =
        m_lastSearch.isValid() && m_lastSearch.elapsed() < QApplication::keyboardInputInterval();
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (typed && (modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Space && modifiers == Qt::NoModifier && searching) {
        // The list's own search goes on with the space as part of the text.
        QAbstractItemView* items = view();
        items->setCurrentIndex(model()->index(currentIndex(), modelColumn(), rootModelIndex()));
        items->keyboardSearch(event->text());
        const int found = items->currentIndex().row();
        m_lastSearch.start();
        if (found >= 0 && found != currentIndex()) {
            setCurrentIndex(found);
            emit activated(found);
        }
        event->accept();
        return;
    }
    if (typed && event->key() != Qt::Key_Space)
        m_lastSearch.start();
    else
        m_lastSearch.invalidate();
    QComboBox::keyPressEvent(event);
}

QSize CodeComboBox::minimumSizeHint() const {
    QSize size = QComboBox::minimumSizeHint();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
    const int decoration = std::max(size.width() - widest, 0);
    size.setWidth(std::min(size.width(), fontMetrics().averageCharWidth() * 18 + decoration));
    return size;
}

void CodeComboBox::fillFromTable(const CodeTable& table) {
    const QSignalBlocker blocker(this);
    for (int32_t row = 0; row < table.count(); ++row)
        addItem(QString::fromStdString(table.getEntry(row).Description), row);
}

void CodeComboBox::showRow(int32_t row) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(row >= 0 && row < count() ? row : -1);
}

CodeListBox::CodeListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QSize CodeListBox::sizeHint() const {
    QSize size = QListWidget::sizeHint();
    size.setHeight(minimumSizeHint().height());
    return size;
}

QSize CodeListBox::minimumSizeHint() const {
    QSize size = QListWidget::minimumSizeHint();
    int height = 2 * frameWidth();
    for (int row = 0; row < count(); ++row)
        height += std::max(sizeHintForRow(row), 0);
    size.setHeight(std::max(height, size.height()));
    return size;
}

void CodeListBox::fillFromTable(const CodeTable& table) {
    const QSignalBlocker blocker(this);
    for (int32_t row = 1; row < table.count(); ++row) {
        auto* item = new QListWidgetItem(QString::fromStdString(table.getEntry(row).Description), this);
        item->setData(Qt::UserRole, row);
    }
}

uint32_t CodeListBox::selectionMask() const {
    uint32_t mask = 0;
    for (int position = 0; position < count() && position < 32; ++position)
        if (item(position)->isSelected())
            mask |= uint32_t{1} << position;
    return mask;
}

void CodeListBox::showSelectionMask(uint32_t mask) {
    // Only the items that differ change, so the list the user is working in keeps its place.
    const QSignalBlocker blocker(this);
    for (int position = 0; position < count(); ++position) {
        const bool selected = position < 32 && (mask & (uint32_t{1} << position)) != 0;
        if (item(position)->isSelected() != selected)
            item(position)->setSelected(selected);
    }
}

int CodeListBox::setSelectionMask(uint32_t mask) {
    const QSignalBlocker blocker(this);
    for (int position = 0; position < count() && position < 32; ++position)
        if (mask & (uint32_t{1} << position))
            item(position)->setSelected(true);
    return count();
}
