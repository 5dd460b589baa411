#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QList>
#include <QStringList>

class TCustomCheckGroup;

// One check box of a check group.
class TGroupButton : public QCheckBox
{
    Q_OBJECT
public:
    explicit TGroupButton(TCustomCheckGroup *group);
    ~TGroupButton() override;

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TCustomCheckGroup *FGroup;
    bool FInClick = false;
};

// A captioned group of check boxes, one per item, laid out in columns; any
// number of them may be checked.
class TCustomCheckGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TCustomCheckGroup(QWidget *parent = nullptr);
    ~TCustomCheckGroup() override;

    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    const QStringList &Items() const { return FItems; }
    void SetItems(const QStringList &items);
    void AddItem(const QString &item);
    QString Caption() const { return title(); }
    void SetCaption(const QString &caption) { setTitle(caption); }

    // Index must lie in 0 .. item count - 1.
    bool GetCheckedStatus(int index) const;
    void SetCheckedStatus(int index, bool value);
    int SelCount() const;

    // Sets Items, Columns and ItemIndex as one stored set, then rebuilds the
    // boxes once.
    void LoadProperties(const QStringList &items, int columns, int itemIndex);

    virtual bool CanChangeItem() { return true; }

    TGroupButton *Button(int index) const { return FButtons.at(index); }
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }

signals:
    void OnClick(QObject *Sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    friend class TGroupButton;
    void ItemListChange();
    void SetItemCount(int count);
    void SyncItems();
    void ArrangeItems();
    void ItemClick(TGroupButton *button);
    void RemoveButton(TGroupButton *button);

    QList<TGroupButton *> FButtons;
    QStringList FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
};

class TCheckGroup : public TCustomCheckGroup
{
    Q_OBJECT
public:
    using TCustomCheckGroup::TCustomCheckGroup;
};
