# Grid operations and printing of the class window
list(APPEND VIRELAN_MODEL_SOURCES
    analysis/GridOps.cpp
    analysis/PrintLayout.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    analysis/PrintPainter.cpp
)
