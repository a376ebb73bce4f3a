# Homework dates: the list and its file, then its dialog
list(APPEND VIRELAN_MODEL_SOURCES
    companions/HomeworkList.cpp
)
