# The books: the schema and keys, a record class per table, the tables of
# our own, the queries of the record windows, and the data files and data
# sets the program opens at start.
target_sources(qv_core PRIVATE
  storage/modPassword.cpp
  storage/modStartup.cpp
  storage/Schema.cpp
  storage/modDBKeys.cpp
  storage/clsChurch.cpp
  storage/clsFunds.cpp
  storage/clsContributors.cpp
  storage/clsPledges.cpp
  storage/clsCollection.cpp
  storage/clsOffering.cpp
  storage/clsColComments.cpp
  storage/ContributorQueries.cpp
  storage/ContributorEmail.cpp
)
include(storage/legacy.cmake)
