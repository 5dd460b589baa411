#pragma once

#include "rack/uRadioRackV2Types.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;

// Chooses the attenuators' state after power-on.
class TFormStartAttsState : public QDialog
{
    Q_OBJECT
public:
    explicit TFormStartAttsState(QWidget *parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);

    QGroupBox *RadioGroupState;

private:
    QButtonGroup *FItems;
};

// True on OK, with the state set from the chosen item.
bool ExecuteStartAttsDialog(TStartAtt &state, QWidget *parent = nullptr);
