# The text editor: its plain models (ruler arithmetic, report file names, RTF writer) and the ruler's widgets.
list(APPEND VIRELAN_MODEL_SOURCES
    tools/ReportFileName.cpp
    tools/RtfWriter.cpp
    tools/RulerMath.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    tools/IndentMarker.cpp
    tools/ReportPrint.cpp
    tools/RulerPanel.cpp
    tools/SizeSpinBox.cpp
)
