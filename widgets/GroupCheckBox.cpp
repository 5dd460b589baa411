#include "widgets/GroupCheckBox.h"
#include "widgets/WidgetSupport.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include <exception>

TGroupButton::TGroupButton(TCustomCheckGroup *group) : QCheckBox(group), FGroup(group)
{
    setVisible(false);
    setEnabled(group->isEnabled());
    connect(this, &QCheckBox::toggled, group, [group, this] { group->ItemClick(this); });
}

TGroupButton::~TGroupButton()
{
    FGroup->RemoveButton(this);
}

// Runs for the user's clicks only; programmatic checks bypass it.
void TGroupButton::nextCheckState()
{
    if (FInClick)
        return;
    FInClick = true;
    try {
        if (FGroup->CanChangeItem())
            QCheckBox::nextCheckState();
    } catch (const std::exception &e) {
        ReportWidgetError(QString::fromStdString(e.what()));
    }
    FInClick = false;
}

void TGroupButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Backspace) && !FGroup->CanChangeItem()) {
        event->accept();
        return;
    }
    QCheckBox::keyPressEvent(event);
}

TCustomCheckGroup::TCustomCheckGroup(QWidget *parent) : QGroupBox(parent) {}

TCustomCheckGroup::~TCustomCheckGroup()
{
    SetItemCount(0);
}

void TCustomCheckGroup::RemoveButton(TGroupButton *button)
{
    FButtons.removeOne(button);
}

void TCustomCheckGroup::SetItemCount(int count)
{
    while (FButtons.size() < count)
        FButtons.append(new TGroupButton(this));
    while (FButtons.size() > count)
        delete FButtons.last(); // its destructor takes it off the list
}

void TCustomCheckGroup::SyncItems()
{
    SetItemCount(static_cast<int>(FItems.size()));
    for (qsizetype i = 0; i < FButtons.size(); ++i)
        FButtons[i]->setText(FItems.at(i));
    if (FItemIndex >= 0 && FItemIndex < FButtons.size()) {
        FUpdating = true;
        FButtons[FItemIndex]->setChecked(true);
        FUpdating = false;
    }
    ArrangeItems();
}

void TCustomCheckGroup::ItemListChange()
{
    if (FReading)
        return;
    if (FItemIndex >= FItems.size())
        FItemIndex = static_cast<int>(FItems.size()) - 1;
    SyncItems();
}

void TCustomCheckGroup::SetItems(const QStringList &items)
{
    FItems = items;
    ItemListChange();
}

void TCustomCheckGroup::AddItem(const QString &item)
{
    FItems.append(item);
    ItemListChange();
}

void TCustomCheckGroup::LoadProperties(const QStringList &items, int columns, int itemIndex)
{
    FReading = true;
    SetItems(items);
    SetColumns(columns);
    SetItemIndex(itemIndex);
    FReading = false;
    SyncItems();
}

void TCustomCheckGroup::SetColumns(int columns)
{
    columns = qBound(1, columns, 16);
    if (columns == FColumns)
        return;
    FColumns = columns;
    ArrangeItems();
}

void TCustomCheckGroup::SetItemIndex(int index)
{
    if (FReading) {
        FItemIndex = index;
        return;
    }
    index = qBound(-1, index, static_cast<int>(FButtons.size()) - 1);
    if (index >= 0)
        FButtons[index]->setChecked(true);
    FItemIndex = index;
}

bool TCustomCheckGroup::GetCheckedStatus(int index) const
{
    return FButtons.at(index)->isChecked();
}

void TCustomCheckGroup::SetCheckedStatus(int index, bool value)
{
    FButtons.at(index)->setChecked(value);
}

int TCustomCheckGroup::SelCount() const
{
    int count = 0;
    for (const TGroupButton *button : FButtons)
        if (button->isChecked())
            ++count;
    return count;
}

void TCustomCheckGroup::ItemClick(TGroupButton *button)
{
    if (FUpdating)
        return;
    FItemIndex = static_cast<int>(FButtons.indexOf(button));
    emit OnClick(this);
}

void TCustomCheckGroup::ArrangeItems()
{
    if (FButtons.isEmpty() || FReading)
        return;
    const int h = QFontMetrics(font()).height();
    const int n = static_cast<int>(FButtons.size());
    const int cols = FColumns;
    const int rows = (n + cols - 1) / cols;
    const int itemWidth = (width() - 10) / cols;
    const int space = height() - h - 5;
    const int itemHeight = space / rows;
    const int top = h + 1 + (space % rows) / 2;
    for (int i = 0; i < n; ++i) {
        FButtons[i]->setGeometry((i / rows) * itemWidth + 8, (i % rows) * itemHeight + top, itemWidth, itemHeight);
        FButtons[i]->setVisible(true);
    }
}

void TCustomCheckGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    ArrangeItems();
}

void TCustomCheckGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ArrangeItems();
    } else if (event->type() == QEvent::EnabledChange) {
        for (TGroupButton *button : FButtons)
            button->setEnabled(isEnabled());
    }
}

// A double click arrives as a second press and release, so it counts as a
// click too.
void TCustomCheckGroup::mouseReleaseEvent(QMouseEvent *event)
{
    QGroupBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick(this);
}
