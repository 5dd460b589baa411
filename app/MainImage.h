#pragma once

#include <QImage>
#include <QSize>

// The rack front shown in the main window: a 1U panel with its ears, the
// status lamp and one RF connector per channel, drawn for the given size.
QImage DrawRackFront(const QSize &size);
