# The class files named on the command line.
list(APPEND VIRELAN_MODEL_SOURCES app/StartupFiles.cpp)
