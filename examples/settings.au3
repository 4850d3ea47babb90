; Settings shared by the demo scripts.
#include-once
#include <StringHelpers.au3>
Global Const $SETTINGS_DELAY = 250
Global Const $SETTINGS_RETRIES = 3 ; not used by the demo
