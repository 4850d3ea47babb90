#include <be.au3>
Show()
