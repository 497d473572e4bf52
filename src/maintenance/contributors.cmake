# core: target_sources(qv_core PRIVATE maintenance/....cpp)
# ui:   target_sources(qv_ui PRIVATE maintenance/....cpp)
target_sources(qv_ui PRIVATE maintenance/Register_contributors.cpp)
