#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

class QTextBrowser;

// The program's help: an HTML page beside the executable, or the copy
// built into the program when that page is missing.
class THelpViewer : public QDialog
{
    Q_OBJECT
public:
    explicit THelpViewer(QWidget *parent = nullptr);
    // Shows the page scrolled to the topic's anchor.
    void ShowTopic(const QString &helpFile, const QString &topic);
    QUrl Source() const;
    QTextBrowser *Browser;
};

// The page shown for a help file: the file itself, or the built-in copy.
QUrl HelpPageUrl(const QString &helpFile);
