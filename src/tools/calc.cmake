# The calculator, its 6-byte real and the euro converter.
list(APPEND VIRELAN_MODEL_SOURCES
    tools/EuroEngine.cpp
    tools/PocketEngine.cpp
    tools/Real48.cpp
)
