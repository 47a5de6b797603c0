# The groups of rvqtool's commands, one page of the manual each: its page
# name, its English and Japanese titles and its commands, in the order the
# pages show them. Read by Manual.cmake and CommandLinePages.cmake.
set(rvq_cli_groups settings printer parameters downloads maintenance builders)
set(rvq_cli_settings_title "Settings and printer models")
set(rvq_cli_settings_title_ja "設定とプリンタ機種")
set(rvq_cli_settings_commands config models model usb-list)
set(rvq_cli_printer_title "Printer status and control")
set(rvq_cli_printer_title_ja "プリンタの状態と制御")
set(rvq_cli_printer_commands status discover metrics restore-online reset)
set(rvq_cli_parameters_title "Parameters and backups")
set(rvq_cli_parameters_title_ja "パラメータとバックアップ")
set(rvq_cli_parameters_commands get-params set-params diff backup)
set(rvq_cli_downloads_title "Downloads")
set(rvq_cli_downloads_title_ja "ダウンロード")
set(rvq_cli_downloads_commands firmware basic send)
set(rvq_cli_maintenance_title "Maintenance")
set(rvq_cli_maintenance_title_ja "メンテナンス")
set(rvq_cli_maintenance_commands info save-info data-log head-check counter-clear param-clear factory-default
    mem-alloc mem-format test-print)
set(rvq_cli_builders_title "File builders")
set(rvq_cli_builders_title_ja "ファイルの作成")
set(rvq_cli_builders_commands encode-basic rom-info build-html-rom build-gaiji test-print-data)

