; the entry script of a small GUI tool
#include "src\app.au3"
App_Run()
