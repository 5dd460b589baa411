#include "app/MainHelp.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

// Outside any namespace, or the resource's initialiser is not found.
static void InitHelpResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)done;
}

QUrl HelpPageUrl(const QString &helpFile)
{
    const QFileInfo page(helpFile);
    if (!helpFile.isEmpty() && page.isFile())
        return QUrl::fromLocalFile(page.absoluteFilePath());
    InitHelpResource();
    return QUrl(QStringLiteral("qrc:/help/quenta-driver.html"));
}

THelpViewer::THelpViewer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Quenta Driver help"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    resize(560, 480);
}

void THelpViewer::ShowTopic(const QString &helpFile, const QString &topic)
{
    QUrl url = HelpPageUrl(helpFile);
    Browser->setSource(url);
    Browser->scrollToAnchor(topic);
    show();
    raise();
    activateWindow();
}

QUrl THelpViewer::Source() const
{
    return Browser->source();
}
