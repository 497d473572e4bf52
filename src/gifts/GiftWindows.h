#pragma once

class QWidget;

void RegisterGiftWindows();
// File, Import Online Gifts...: the gift file chosen in a file dialog, then
// the column mapping window for it.
void Import_Online_Gifts(QWidget* parent);
