# Sources of src/tools
list(APPEND VIRELAN_MODEL_SOURCES

)
list(APPEND VIRELAN_FORM_SOURCES
    tools/Blocnotes.cpp
    tools/Calendrier.cpp
    tools/Eurof.cpp
    tools/Horloge.cpp
    tools/Pocket.cpp
    tools/Texte.cpp
)
