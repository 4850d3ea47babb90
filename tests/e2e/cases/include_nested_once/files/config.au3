#include-once
Global Const $CFG = 2
