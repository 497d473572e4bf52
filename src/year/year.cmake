target_sources(qv_core PRIVATE year/YearEnd.cpp year/SafetyCopy.cpp)
target_sources(qv_reports PRIVATE year/rptChangedNumbers.cpp)
target_sources(qv_ui PRIVATE year/YearWindows.cpp year/frmAssign.cpp year/frmActive.cpp year/frmYear.cpp
               year/frmRestore.cpp year/frmRptNumbers.cpp year/Register_year.cpp)
