#include "app/StartAttsState.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormStartAttsState::TFormStartAttsState(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormStartAttsState"));
    setWindowTitle(QStringLiteral("Start Atts"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);

    RadioGroupState = new QGroupBox(QStringLiteral("Select state of attenuators at power on."), this);
    RadioGroupState->setObjectName(QStringLiteral("RadioGroupState"));
    FItems = new QButtonGroup(this);
    auto *items = new QVBoxLayout(RadioGroupState);
    const QString texts[] = {QStringLiteral("Attenuators at MIN attenuation."),
                             QStringLiteral("Attenuators at MAX attenuation")};
    for (int i = 0; i < 2; ++i) {
        auto *b = new QRadioButton(texts[i], RadioGroupState);
        b->setObjectName(QStringLiteral("RadioGroupStateItem%1").arg(i));
        FItems->addButton(b, i);
        items->addWidget(b);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BitBtn1"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroupState);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TFormStartAttsState::ItemIndex() const
{
    return FItems->checkedId();
}

void TFormStartAttsState::SetItemIndex(int index)
{
    if (QAbstractButton *b = FItems->button(index))
        b->setChecked(true);
}

bool ExecuteStartAttsDialog(TStartAtt &state, QWidget *parent)
{
    TFormStartAttsState form(parent);
    form.SetItemIndex(state == StartAttMin ? 0 : 1);
    if (form.exec() != QDialog::Accepted)
        return false;
    state = form.ItemIndex() == 0 ? StartAttMin : StartAttMax;
    return true;
}
