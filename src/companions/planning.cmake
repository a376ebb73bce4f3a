# The annual planning: its list of lines apart from the window.
list(APPEND VIRELAN_MODEL_SOURCES
    companions/PlanningList.cpp
)
