# Importing the books of the older program: its Jet data file is read with
# mdbtools' library (pkg-config libmdb, which brings glib).
pkg_check_modules(LIBMDB REQUIRED IMPORTED_TARGET GLOBAL libmdb)
target_sources(qv_core PRIVATE
  storage/LegacyImport.cpp
)
target_link_libraries(qv_core PRIVATE PkgConfig::LIBMDB)
target_sources(qv_ui PRIVATE
  app/ImportBooks.cpp
)
