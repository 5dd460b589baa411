#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

// A font with a text colour that reports every change of an attribute,
// so the graph can repaint when its label font is edited in place.
class TQxyFont
{
public:
    TQxyFont();
    TQxyFont(const TQxyFont &) = delete;
    TQxyFont &operator=(const TQxyFont &) = delete;

    const QFont &Font() const { return FFont; }
    QColor Color() const { return FColor; }
    QString Name() const { return FFont.family(); }
    // Character height in pixels.
    int Height() const;
    bool Bold() const { return FFont.bold(); }
    bool Italic() const { return FFont.italic(); }

    void SetColor(const QColor &value);
    void SetName(const QString &value);
    void SetHeight(int pixels);
    void SetSize(int points);
    void SetBold(bool value);
    void SetItalic(bool value);
    // Copies every attribute; one notification when anything differs.
    void Assign(const TQxyFont &source);
    void Assign(const QFont &font, const QColor &color);

    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

private:
    void Update(const QFont &font, const QColor &color);

    QFont FFont;
    QColor FColor = Qt::black;
    std::function<void()> FOnChange;
};
