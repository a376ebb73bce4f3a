# Rubric dialog and the averages report
list(APPEND VIRELAN_MODEL_SOURCES
    analysis/Averages.cpp
)
