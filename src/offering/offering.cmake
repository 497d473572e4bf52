# The offering window: the collection sets, their totals and receipts
# (core), the window and its fund lines (ui), and the count of the plate.
target_sources(qv_core PRIVATE
  offering/modOffering.cpp
  offering/CollectionTotals.cpp
  offering/CollectionSets.cpp
  offering/ReceiptQueries.cpp
)
target_sources(qv_ui PRIVATE
  offering/FundLinesView.cpp
  offering/frmCollectionDate.cpp
  offering/frmCollections.cpp
  offering/frmContReceipt.cpp
)
include(offering/count.cmake)
