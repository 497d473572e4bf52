#pragma once

class QWidget;

// Installs the real message box and beep behind the message service.
namespace MessageBoxService {
void Install(QWidget* parent = nullptr);
}
