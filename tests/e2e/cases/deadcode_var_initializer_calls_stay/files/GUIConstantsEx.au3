Global Const $GUI_EVENT_CLOSE = -3
