# The class file format, the photo loader and its cache, and the fitting of a photo into the card's frame.
list(APPEND VIRELAN_MODEL_SOURCES
    classbook/ClassFile.cpp
    classbook/PhotoCache.cpp
    classbook/PhotoFit.cpp
    classbook/PhotoLoader.cpp
)
