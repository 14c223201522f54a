# Suites of the design window need the fixture (the host and the editor library).
list(APPEND SHELL_TEST_SOURCES
  test_entry.cpp
  test_document.cpp
  test_frame_commands.cpp
  test_frame_hub.cpp
  test_host.cpp
  test_drop_target.cpp
  test_host_core.cpp
  test_host_hands.cpp
  test_undo_history.cpp
  test_hostile.cpp
  test_random_edits.cpp
  random_session_roads.cpp
  random_session_checks.cpp
  random_session_windows.cpp
  test_edit_contract.cpp
  test_edit_targets.cpp
  test_list_edits.cpp
  test_views.cpp
  test_list_pane_calls.cpp
  test_answers.cpp
  test_delete_roads.cpp
  test_pin_edits.cpp
  test_first_session.cpp
  test_demo_edges.cpp
  test_saves_together.cpp
  test_host_process.cpp
  test_read_only_window.cpp
  test_open_signal_grids.cpp
  test_entry_sweep.cpp
  test_pin_jumps.cpp
  test_script_keys.cpp
)
list(APPEND SHELL_TEST_LIBS kxtestsupport)
