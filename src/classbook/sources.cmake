# Sources of src/classbook
list(APPEND VIRELAN_MODEL_SOURCES
    classbook/ClassTable.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    classbook/MDIChild.cpp
    classbook/MDIChildAnalysis.cpp
    classbook/MDIChildFile.cpp
    classbook/MDIChildHomework.cpp
    classbook/MDIChildOps.cpp
    classbook/MDIChildPhoto.cpp
    classbook/MDIChildPhrases.cpp
    classbook/MDIChildPlan.cpp
    classbook/MDIChildPlanning.cpp
    classbook/MDIChildPrint.cpp
    classbook/PhotoView.cpp
)
