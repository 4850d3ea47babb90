#include-once
Global Const $STR_NOCASESENSE = 0
Global Const $STR_CASESENSE = 1
