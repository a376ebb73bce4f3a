# The class file format, the photo loader and the fitting of a photo into the card's frame.
list(APPEND VIRELAN_MODEL_SOURCES
    classbook/ClassFile.cpp
    classbook/PhotoFit.cpp
    classbook/PhotoLoader.cpp
)
