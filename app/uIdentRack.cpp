#include "app/uIdentRack.h"

#include "config/Config.h"
#include "config/ConfigFile.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int NameLength = 14;

// A name is typed up to 14 characters, but a longer caption put in by the
// program (one loaded from a file) must not be cut: the limit then follows
// the text down as the user shortens it.
void FollowLength(QLineEdit *edit)
{
    edit->setMaxLength(NameLength);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        edit->setMaxLength(std::max<int>(NameLength, int(text.size())));
    });
}

void FillName(QLineEdit *edit, const QString &text)
{
    edit->setMaxLength(std::max<int>(NameLength, int(text.size())));
    edit->setText(text);
}

// The rack takes ASCII letters and digits only; the mask alone lets any
// Unicode letter through, and upper-casing one may even lengthen it.
class TIdentifierChars : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (const QChar c : input) {
            const char16_t u = c.unicode();
            const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ' ||
                            u == '_';
            if (!ok)
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

TIdentRackForm::TIdentRackForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IdentRackForm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);

    auto *group1 = new QGroupBox(QStringLiteral(" Card / Rack Identification "), this);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    auto *label1 = new QLabel(QStringLiteral("Enter six alphanum. chars"), group1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setAlignment(Qt::AlignCenter);
    MaskEdit = new QLineEdit(group1);
    MaskEdit->setObjectName(QStringLiteral("MaskEdit"));
    // Six required letters or digits; an empty position shows as "_".
    MaskEdit->setInputMask(QStringLiteral("NNNNNN;_"));
    MaskEdit->setMaxLength(6);
    MaskEdit->setValidator(new TIdentifierChars(MaskEdit));
    MaskEdit->setAlignment(Qt::AlignCenter);
    auto *l1 = new QVBoxLayout(group1);
    l1->addWidget(label1);
    l1->addWidget(MaskEdit);

    auto *group2 = new QGroupBox(QStringLiteral("Attenuator Name"), this);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    auto *label5 = new QLabel(QStringLiteral("Att 1 name :"), group2);
    label5->setObjectName(QStringLiteral("Label5"));
    Att1Name = new QLineEdit(group2);
    Att1Name->setObjectName(QStringLiteral("Att1Name"));
    FollowLength(Att1Name);
    Label4 = new QLabel(QStringLiteral("Att 2 name :"), group2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Att2Name = new QLineEdit(group2);
    Att2Name->setObjectName(QStringLiteral("Att2Name"));
    FollowLength(Att2Name);
    auto *l2 = new QGridLayout(group2);
    l2->addWidget(label5, 0, 0);
    l2->addWidget(Att1Name, 0, 1);
    l2->addWidget(Label4, 1, 0);
    l2->addWidget(Att2Name, 1, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkBitBtn"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    cancel->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group1);
    layout->addWidget(group2);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    MaskEdit->setFocus();
}

void StoreAttNames(const TIdentRackForm &form, const QString &configFile)
{
    WriteRackAttNames(configFile, form.Att1Name->text(), form.Att2Name->text());
}

bool ExecuteIdentDialog(int rackNumber, QString &identifier, IConfigHost &host, int nbreAtts, QWidget *parent)
{
    TIdentRackForm form(parent);
    form.setWindowTitle(QStringLiteral("Card / Brick %1").arg(rackNumber));
    form.MaskEdit->setText(identifier);
    form.Att2Name->setVisible(nbreAtts == 2);
    form.Label4->setVisible(nbreAtts == 2);
    FillName(form.Att1Name, host.AttCaption(1));
    FillName(form.Att2Name, host.AttCaption(2));
    form.MaskEdit->setFocus();
    if (form.exec() != QDialog::Accepted)
        return false;
    identifier = form.MaskEdit->text().toUpper();
    host.SetAttCaption(1, form.Att1Name->text());
    host.SetAttCaption(2, form.Att2Name->text());
    const QString config = host.CurConfigFile();
    if (!config.isEmpty())
        StoreAttNames(form, config);
    return true;
}
