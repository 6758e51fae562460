#pragma once

class QWidget;

// The x at which a caption's tips icon belongs: just after the caption's text, and never past
// rightLimit - the icon's width, so a long caption in another language keeps its icon inside the
// panel. Fixed places per language would cover or lose the icon whenever a caption changes.
// The caption is a label (its text as drawn) or a check box (its box and text).
int TipsXAfterCaption(const QWidget* caption, const QWidget* tips, int rightLimit);

// Moves the tips icon to TipsXAfterCaption at height y and narrows the caption so that its text
// never runs under the icon.
void PlaceTipsAfterCaption(QWidget* caption, QWidget* tips, int y, int rightLimit);

// The room left between an icon and the next caption on its row.
constexpr int TipsGap = 6;
