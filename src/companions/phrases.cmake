# The appraisal phrases: the list and its file (no widgets).
list(APPEND VIRELAN_MODEL_SOURCES
    companions/PhraseList.cpp
)
