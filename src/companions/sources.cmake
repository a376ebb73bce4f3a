# Sources of src/companions
list(APPEND VIRELAN_MODEL_SOURCES
    companions/SharedCompanion.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    companions/Devoirs.cpp
    companions/NameDialog.cpp
    companions/Obs.cpp
    companions/Plan.cpp
    companions/Planning.cpp
    companions/PlnEdit.cpp
    companions/PrjEdit.cpp
)
