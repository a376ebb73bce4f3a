# The seating plan: its model, its window and the name dialog.
list(APPEND VIRELAN_MODEL_SOURCES
    companions/SeatingPlan.cpp
)
