target_sources(qv_core PRIVATE year/YearEnd.cpp year/SafetyCopy.cpp)
