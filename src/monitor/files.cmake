# The screen model, ports and input model are core (no Qt); the window and the
# screen thread are Qt and go into qrxgui.
set(QRX_MONITOR_CORE_SOURCES
)
set(QRX_MONITOR_GUI_SOURCES
)
