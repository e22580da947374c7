corkvane_test(tst_newnote SOURCES tst_newnote.cpp LIBS cv_app cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_traymenu SOURCES tst_traymenu.cpp LIBS cv_app cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_noteswindow SOURCES tst_noteswindow.cpp LIBS cv_app cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_noteswindow corkvane_shipped)
