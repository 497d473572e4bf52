# The ground: helpers, messages, settings, the program's global state and
# change notices, and the engine wrapper that holds the open data file.
target_sources(qv_core PRIVATE
  core/Helpers.cpp
  core/Messages.cpp
  core/modGlobal.cpp
  core/modSettings.cpp
  core/Privacy.cpp
  core/clsDBEvent.h
  core/Connection.cpp
  core/Recordset.cpp
  core/modDBConnection.cpp
  core/TypedInput.cpp
)
