# Contributors, funds, pledges and the church: each part lists its own
# files; the check of envelope numbers given twice is the keyboard's.
target_sources(qv_core PRIVATE
  maintenance/EnvelopeCheck.cpp
)
include(maintenance/funds.cmake)
include(maintenance/contributors.cmake)
include(maintenance/pledgeutil.cmake)
