# The import of the older program's data files, with the sample file of the
# older program and a second reading of it through the reader library.
add_library(qv_legacyfixture STATIC storage/LegacyFixture.cpp)
target_include_directories(qv_legacyfixture PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/storage)
target_compile_definitions(qv_legacyfixture PRIVATE QV_LEGACY_FIXTURE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/fixtures/legacy")
target_link_libraries(qv_legacyfixture PUBLIC Qt6::Core Qt6::Test PkgConfig::LIBMDB)

qv_core_test(storage/tst_legacy_import.cpp qv_legacyfixture)
qv_core_test(shell/tst_import_books.cpp qv_ui qv_legacyfixture)
target_compile_definitions(tst_legacy_import PRIVATE QV_IMPORT_TOOL="$<TARGET_FILE:qv-import>")
add_dependencies(tst_legacy_import qv-import)
# The program runs qv-import beside it for the reading.
add_dependencies(tst_import_books qv-import)
