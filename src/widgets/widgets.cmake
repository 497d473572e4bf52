# What every window is made of: the grid, the amount and date boxes, the
# layouts, the window services and registry, the task window and the
# progress window.
target_sources(qv_ui PRIVATE
  widgets/MessageBoxService.cpp
  widgets/QvGrid.cpp
  widgets/Windows.cpp
  widgets/WindowServices.cpp
  widgets/Layouts.cpp
  widgets/frmChild.cpp
  widgets/frmProgess.cpp
  widgets/QvDateBox.cpp
  widgets/AmountBox.cpp
  widgets/AccessKeys.cpp
)
