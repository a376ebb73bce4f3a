# Sources of src/classbook
list(APPEND VIRELAN_MODEL_SOURCES
    classbook/ClassTable.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    classbook/MDIChild.cpp
    classbook/MDIChildFile.cpp
    classbook/MDIChildPhoto.cpp
    classbook/PhotoView.cpp
)
