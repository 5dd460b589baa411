#include "graph/QxyGraphFont.h"

#include <QFontInfo>

TQxyFont::TQxyFont()
{
    FFont.setFamily(QStringLiteral("Arial"));
    FFont.setPixelSize(9);
}

int TQxyFont::Height() const
{
    if (FFont.pixelSize() > 0)
        return FFont.pixelSize();
    return QFontInfo(FFont).pixelSize();
}

void TQxyFont::Update(const QFont &font, const QColor &color)
{
    if (font == FFont && font.pixelSize() == FFont.pixelSize() && color == FColor)
        return;
    FFont = font;
    FColor = color;
    if (FOnChange)
        FOnChange();
}

void TQxyFont::SetColor(const QColor &value)
{
    Update(FFont, value);
}

void TQxyFont::SetName(const QString &value)
{
    QFont f = FFont;
    f.setFamily(value);
    Update(f, FColor);
}

void TQxyFont::SetHeight(int pixels)
{
    if (pixels <= 0)
        return;
    QFont f = FFont;
    f.setPixelSize(pixels);
    Update(f, FColor);
}

void TQxyFont::SetSize(int points)
{
    if (points <= 0)
        return;
    QFont f = FFont;
    f.setPointSize(points);
    Update(f, FColor);
}

void TQxyFont::SetBold(bool value)
{
    QFont f = FFont;
    f.setBold(value);
    Update(f, FColor);
}

void TQxyFont::SetItalic(bool value)
{
    QFont f = FFont;
    f.setItalic(value);
    Update(f, FColor);
}

void TQxyFont::Assign(const TQxyFont &source)
{
    Update(source.FFont, source.FColor);
}

void TQxyFont::Assign(const QFont &font, const QColor &color)
{
    Update(font, color);
}
