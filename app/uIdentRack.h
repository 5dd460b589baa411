#pragma once

#include <QDialog>
#include <QString>

class IConfigHost;
class QLabel;
class QLineEdit;

// Edits the rack's six-character identifier and the attenuator names.
class TIdentRackForm : public QDialog
{
    Q_OBJECT
public:
    explicit TIdentRackForm(QWidget *parent = nullptr);

    QLineEdit *MaskEdit;
    QLineEdit *Att1Name;
    QLineEdit *Att2Name;
    QLabel *Label4;
};

// Writes both names into the configuration file; throws EIniFileException.
void StoreAttNames(const TIdentRackForm &form, const QString &configFile);

// True on OK: the identifier becomes the upper-cased entry, the attenuator
// controls take the names, and they are stored in the current configuration
// file when there is one. A failed store throws after the captions changed.
bool ExecuteIdentDialog(int rackNumber, QString &identifier, IConfigHost &host, int nbreAtts,
                        QWidget *parent = nullptr);
