# Keyboard flow and input safety: reading typed names and dates, the check
# of envelope numbers given twice (core), and the program's one date box and
# the leaving of an amount box (ui).
target_sources(qv_core PRIVATE core/TypedInput.cpp maintenance/EnvelopeCheck.cpp)
target_sources(qv_ui PRIVATE widgets/QvDateBox.cpp widgets/AmountBox.cpp widgets/AccessKeys.cpp)
