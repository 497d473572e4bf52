# The top: the main window, the registry of every window, the dialogs of
# start-up and password, the import of old books, and the program itself.
target_sources(qv_ui PRIVATE
  app/AllWindows.cpp
  app/frmAbout.cpp
  app/frmMain.cpp
  app/frmPWChange.cpp
  app/frmPassword.cpp
  app/frmPickDB.cpp
  app/QvApplication.cpp
)

add_executable(quorvane app/main.cpp)
target_link_libraries(quorvane PRIVATE qv_ui)
