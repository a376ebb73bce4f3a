# Sources of src/analysis
list(APPEND VIRELAN_MODEL_SOURCES

)
list(APPEND VIRELAN_FORM_SOURCES
    analysis/Graph.cpp
    analysis/Graph2.cpp
    analysis/Rub.cpp
)
