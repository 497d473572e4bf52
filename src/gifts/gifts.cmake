target_sources(qv_core PRIVATE gifts/GiftCsv.cpp gifts/GiftImport.cpp storage/GiftTables.cpp)
target_sources(qv_ui PRIVATE gifts/Register_gifts.cpp gifts/frmGiftMapping.cpp gifts/frmGiftPreview.cpp)
