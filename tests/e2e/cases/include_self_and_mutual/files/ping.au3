ping
#include "pong.au3"
