<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LCustomMeasureDialog</name>
    <message>
        <source>Custom Measure</source>
        <translation>Eigene Taktart</translation>
    </message>
    <message>
        <source>one group</source>
        <translation>eine Gruppe</translation>
    </message>
    <message>
        <source>&amp;Beats in the bar:</source>
        <translation>&amp;Schläge im Takt:</translation>
    </message>
    <message>
        <source>&amp;Grouping:</source>
        <translation>&amp;Gruppierung:</translation>
    </message>
    <message>
        <source>Every group begins with an accent; the first with the downbeat.</source>
        <translation>Jede Gruppe beginnt mit einem Akzent, die erste mit der Eins.</translation>
    </message>
</context>
<context>
    <name>LDBEdit</name>
    <message>
        <source>%1 dB</source>
        <translation>%1 dB</translation>
    </message>
</context>
<context>
    <name>LExportDialog</name>
    <message>
        <source>16-bit</source>
        <translation>16 Bit</translation>
    </message>
    <message>
        <source>24-bit</source>
        <translation>24 Bit</translation>
    </message>
    <message>
        <source>32-bit</source>
        <translation>32 Bit</translation>
    </message>
    <message>
        <source>32-bit float</source>
        <translation>32 Bit Gleitkomma</translation>
    </message>
    <message>
        <source>Export Click Track</source>
        <translation>Klickspur exportieren</translation>
    </message>
    <message>
        <source>Click %1 bpm %2.wav</source>
        <translation>Klick %1 bpm %2.wav</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>&amp;Browse…</source>
        <translation>&amp;Durchsuchen…</translation>
    </message>
    <message>
        <source>B&amp;ars:</source>
        <translation>T&amp;akte:</translation>
    </message>
    <message>
        <source>&amp;Time (mm:ss):</source>
        <translation>&amp;Zeit (mm:ss):</translation>
    </message>
    <message>
        <source>&amp;Until the speed trainer ends</source>
        <translation>&amp;Bis der Tempotrainer endet</translation>
    </message>
    <message>
        <source>Minutes and seconds, or hours, minutes and seconds, up to 24:00:00</source>
        <translation>Minuten und Sekunden oder Stunden, Minuten und Sekunden, bis 24:00:00</translation>
    </message>
    <message>
        <source>%1 Hz</source>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>The beat sound&apos;s</source>
        <translation>Wie der Schlagklang</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>Da&amp;tei:</translation>
    </message>
    <message>
        <source>Sample f&amp;ormat:</source>
        <translation>Sample-&amp;Format:</translation>
    </message>
    <message>
        <source>Sample &amp;rate:</source>
        <translation>Abtast&amp;rate:</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>Please choose the file to export to.</source>
        <translation>Bitte wählen Sie die Datei, in die exportiert werden soll.</translation>
    </message>
    <message>
        <source>The length &quot;%1&quot; is not a time from 0:01 to 24:00:00.</source>
        <translation>Die Länge „%1“ ist keine Zeit von 0:01 bis 24:00:00.</translation>
    </message>
    <message>
        <source>The click track could not be exported to &quot;%1&quot;: %2</source>
        <translation>Die Klickspur konnte nicht nach „%1“ exportiert werden: %2</translation>
    </message>
    <message>
        <source>Exporting the click track to &quot;%1&quot;…</source>
        <translation>Die Klickspur wird nach „%1“ exportiert…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The click track was exported to &quot;%1&quot;.</source>
        <translation>Die Klickspur wurde nach „%1“ exportiert.</translation>
    </message>
    <message>
        <source>The export was cancelled; &quot;%1&quot; was not written.</source>
        <translation>Der Export wurde abgebrochen; „%1“ wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>WAV files (*.wav)</source>
        <translation>WAV-Dateien (*.wav)</translation>
    </message>
    <message>
        <source>&amp;Export Click Track…</source>
        <translation>Klickspur &amp;exportieren…</translation>
    </message>
    <message>
        <source>, swing %1 %</source>
        <translation>, Swing %1 %</translation>
    </message>
    <message>
        <source>Track:</source>
        <translation>Spur:</translation>
    </message>
    <message>
        <source>%1 bpm, %2, subdivision %3%4</source>
        <translation>%1 bpm, %2, Unterteilung %3%4</translation>
    </message>
    <message>
        <source>Practice:</source>
        <translation>Üben:</translation>
    </message>
</context>
<context>
    <name>LGeneralPage</name>
    <message>
        <source>Sound &amp;Output Device:</source>
        <translation>Audio&amp;ausgabegerät:</translation>
    </message>
    <message>
        <source>The chosen output is used as soon as you press OK.</source>
        <translation>Die gewählte Ausgabe wird verwendet, sobald Sie OK drücken.</translation>
    </message>
</context>
<context>
    <name>LHelpWindow</name>
    <message>
        <source>Morvane Help</source>
        <translation>Morvane-Hilfe</translation>
    </message>
    <message>
        <source>The help page &quot;%1&quot; is not installed.</source>
        <translation>Die Hilfeseite „%1“ ist nicht installiert.</translation>
    </message>
</context>
<context>
    <name>LInfoStrip</name>
    <message>
        <source>Close this message</source>
        <translation>Diese Meldung schließen</translation>
    </message>
</context>
<context>
    <name>LMVModel</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>LMainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save Preset...</source>
        <translation>Voreinstellung &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Load Preset...</source>
        <translation>Voreinstellung &amp;laden...</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Abspielen</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Select &amp;Sounds...</source>
        <translation>&amp;Klänge wählen...</translation>
    </message>
    <message>
        <source>Save Preset</source>
        <translation>Voreinstellung speichern</translation>
    </message>
    <message>
        <source>Save the current settings as a preset</source>
        <translation>Die aktuellen Einstellungen als Voreinstellung speichern</translation>
    </message>
    <message>
        <source>Load Preset</source>
        <translation>Voreinstellung laden</translation>
    </message>
    <message>
        <source>Load a saved preset</source>
        <translation>Eine gespeicherte Voreinstellung laden</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Klänge</translation>
    </message>
    <message>
        <source>Select accent, beat and click sound</source>
        <translation>Betonungs-, Schlag- und Klickklang wählen</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Adjust settings and options</source>
        <translation>Einstellungen und Optionen anpassen</translation>
    </message>
    <message>
        <source>Set the tempo in the Tempo field, with its arrows or by choosing a row of the tempo guide, pick a measure and a subdivision, and press Play or Space.

Space starts and stops the metronome wherever the focus is. The slider under the button sets the volume. Every setting is kept for the next start.</source>
        <translation>Stellen Sie das Tempo im Feld Tempo ein, mit seinen Pfeilen oder durch Wahl einer Zeile der Tempoliste, wählen Sie Taktart und Unterteilung und drücken Sie Abspielen oder die Leertaste.

Die Leertaste startet und stoppt das Metronom, wo immer der Fokus steht. Der Regler unter der Schaltfläche stellt die Lautstärke ein. Jede Einstellung bleibt für den nächsten Start erhalten.</translation>
    </message>
    <message>
        <source>About Morvane</source>
        <translation>Über Morvane</translation>
    </message>
    <message>
        <source>Morvane %1
A metronome for the desktop.</source>
        <translation>Morvane %1
Ein Metronom für den Schreibtisch.</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>P&amp;references...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Morvane &amp;Manual</source>
        <translation>Morvane-&amp;Handbuch</translation>
    </message>
    <message>
        <source>&amp;About Morvane</source>
        <translation>&amp;Über Morvane</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Display the manual (%1)</source>
        <translation>Das Handbuch anzeigen (%1)</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste anzeigen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
</context>
<context>
    <name>LPatternStrip</name>
    <message>
        <source>downbeat</source>
        <translation>Eins</translation>
    </message>
    <message>
        <source>accent</source>
        <translation>Akzent</translation>
    </message>
    <message>
        <source>beat</source>
        <translation>Schlag</translation>
    </message>
    <message>
        <source>muted</source>
        <translation>stumm</translation>
    </message>
    <message>
        <source>Beat pattern</source>
        <translation>Schlagmuster</translation>
    </message>
    <message>
        <source>Beats of the bar: %1. Click a beat to change it (downbeat, accent, beat, muted).</source>
        <translation>Schläge des Takts: %1. Ein Klick auf einen Schlag ändert ihn (Eins, Akzent, Schlag, stumm).</translation>
    </message>
    <message>
        <source>Beat %1 of %2: %3. Enter changes it, Left and Right move.</source>
        <translation>Schlag %1 von %2: %3. Eingabe ändert ihn, Links und Rechts wechseln den Schlag.</translation>
    </message>
</context>
<context>
    <name>LPracticePanel</name>
    <message>
        <source>Tap</source>
        <translation>Tippen</translation>
    </message>
    <message>
        <source>Tap the tempo: two taps or more set it (T)</source>
        <translation>Tempo tippen: ab zwei Schlägen wird es übernommen (T)</translation>
    </message>
    <message>
        <source>&amp;Practice</source>
        <translation>&amp;Üben</translation>
    </message>
    <message>
        <source>Count-in, speed trainer, gap trainer, random mute and practice timer</source>
        <translation>Einzählen, Tempotrainer, Pausentrainer, Zufallsstille und Übungszeit</translation>
    </message>
    <message>
        <source> bars</source>
        <translation> Takte</translation>
    </message>
    <message>
        <source>Bars of beats before the first bar, on every Play</source>
        <translation>Takte mit Schlägen vor dem ersten Takt, bei jedem Start</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Count-in:</source>
        <translation>Einzählen:</translation>
    </message>
    <message>
        <source>Speed trainer:</source>
        <translation>Tempotrainer:</translation>
    </message>
    <message>
        <source> bpm</source>
        <translation> bpm</translation>
    </message>
    <message>
        <source>Tempo of the first bars (and of the count-in)</source>
        <translation>Tempo der ersten Takte (und des Einzählens)</translation>
    </message>
    <message>
        <source>Tempo to reach; below the start, the tempo falls</source>
        <translation>Zieltempo; liegt es unter dem Anfang, wird es langsamer</translation>
    </message>
    <message>
        <source>Change at each step</source>
        <translation>Änderung bei jedem Schritt</translation>
    </message>
    <message>
        <source>Bars at each tempo</source>
        <translation>Takte je Tempo</translation>
    </message>
    <message>
        <source>then hold</source>
        <translation>dann halten</translation>
    </message>
    <message>
        <source>then stop</source>
        <translation>dann anhalten</translation>
    </message>
    <message>
        <source>At the end tempo: keep playing, or stop after its bars</source>
        <translation>Beim Zieltempo: weiterspielen oder nach seinen Takten anhalten</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>by</source>
        <translation>um</translation>
    </message>
    <message>
        <source>every</source>
        <translation>alle</translation>
    </message>
    <message>
        <source>Gap trainer:</source>
        <translation>Pausentrainer:</translation>
    </message>
    <message>
        <source> played</source>
        <translation> gespielt</translation>
    </message>
    <message>
        <source>Bars heard</source>
        <translation>Hörbare Takte</translation>
    </message>
    <message>
        <source> muted</source>
        <translation> stumm</translation>
    </message>
    <message>
        <source>Bars silent, while the light and counter go on</source>
        <translation>Stumme Takte, während Licht und Zähler weiterlaufen</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Chance that a beat after the count-in is silent</source>
        <translation>Wahrscheinlichkeit, dass ein Schlag nach dem Einzählen stumm bleibt</translation>
    </message>
    <message>
        <source>Random mute:</source>
        <translation>Zufallsstille:</translation>
    </message>
    <message>
        <source>Stop after:</source>
        <translation>Anhalten nach:</translation>
    </message>
    <message>
        <source>Practice time after which playing stops (hours:minutes:seconds)</source>
        <translation>Übungszeit, nach der das Spielen endet (Stunden:Minuten:Sekunden)</translation>
    </message>
    <message>
        <source>Count-in %1</source>
        <translation>Einzählen %1</translation>
    </message>
    <message>
        <source>Speed %1→%2 by %3 every %4</source>
        <translation>Tempo %1→%2 um %3 alle %4</translation>
    </message>
    <message>
        <source>Gap %1:%2</source>
        <translation>Pause %1:%2</translation>
    </message>
    <message>
        <source>Random mute %1 %</source>
        <translation>Zufallsstille %1 %</translation>
    </message>
    <message>
        <source>Stop after %1</source>
        <translation>Anhalten nach %1</translation>
    </message>
    <message>
        <source>Count-in %1 of %2</source>
        <translation>Einzählen %1 von %2</translation>
    </message>
    <message>
        <source>Bar %1  Beat %2</source>
        <translation>Takt %1  Schlag %2</translation>
    </message>
    <message>
        <source> (muted)</source>
        <translation> (stumm)</translation>
    </message>
    <message>
        <source>%1 bpm</source>
        <translation>%1 bpm</translation>
    </message>
    <message>
        <source>%1 of %2, %3 left</source>
        <translation>%1 von %2, noch %3</translation>
    </message>
    <message>
        <source>Session %1</source>
        <translation>Übung %1</translation>
    </message>
    <message>
        <source> bar(s)</source>
        <translation> Takt(e)</translation>
    </message>
    <message>
        <source>%1 → %2 next bar</source>
        <translation>%1 → %2 im nächsten Takt</translation>
    </message>
    <message>
        <source>%1 → %2 in %3 bars</source>
        <translation>%1 → %2 in %3 Takten</translation>
    </message>
</context>
<context>
    <name>LPresetDialog</name>
    <message>
        <source>Beats per minute, %1 to %2</source>
        <translation>Schläge pro Minute, %1 bis %2</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Tempo:</source>
        <translation>T&amp;empo:</translation>
    </message>
    <message>
        <source>&amp;Measure:</source>
        <translation>&amp;Taktart:</translation>
    </message>
    <message>
        <source>&amp;SubDivs:</source>
        <translation>&amp;Unterteilung:</translation>
    </message>
    <message>
        <source>Change Preset</source>
        <translation>Voreinstellung ändern</translation>
    </message>
    <message>
        <source>New Preset</source>
        <translation>Neue Voreinstellung</translation>
    </message>
    <message>
        <source>The preset</source>
        <translation>Die Voreinstellung</translation>
    </message>
    <message>
        <source>Please enter the preset name.</source>
        <translation>Bitte geben Sie den Namen der Voreinstellung ein.</translation>
    </message>
    <message>
        <source>Please enter a tempo from 10 to 280.</source>
        <translation>Bitte geben Sie ein Tempo von 10 bis 280 ein.</translation>
    </message>
</context>
<context>
    <name>LPresetListWindow</name>
    <message>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
    </message>
</context>
<context>
    <name>LPresetListWindowBase</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>Taktart</translation>
    </message>
    <message>
        <source>Subdiv</source>
        <translation>Unterteilung</translation>
    </message>
    <message>
        <source>&amp;Preset</source>
        <translation>&amp;Voreinstellung</translation>
    </message>
    <message>
        <source>&amp;Select Preset</source>
        <translation>Voreinstellung &amp;wählen</translation>
    </message>
    <message>
        <source>Select this preset</source>
        <translation>Diese Voreinstellung wählen</translation>
    </message>
    <message>
        <source>Delete the selected presets</source>
        <translation>Die ausgewählten Voreinstellungen löschen</translation>
    </message>
    <message>
        <source>Edit the selected preset</source>
        <translation>Die ausgewählte Voreinstellung bearbeiten</translation>
    </message>
    <message>
        <source>Delete Presets</source>
        <translation>Voreinstellungen löschen</translation>
    </message>
    <message>
        <source>Delete the selected preset?</source>
        <translation>Die ausgewählte Voreinstellung löschen?</translation>
    </message>
    <message>
        <source>Delete the %1 selected presets?</source>
        <translation>Die %1 ausgewählten Voreinstellungen löschen?</translation>
    </message>
    <message>
        <source>%1 of the selected presets could not be deleted. Check that their folder can be written, then try again.</source>
        <translation>%1 der ausgewählten Voreinstellungen konnten nicht gelöscht werden. Prüfen Sie, ob ihr Ordner beschreibbar ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 Eintrag</translation>
    </message>
    <message>
        <source>%1 entries</source>
        <translation>%1 Einträge</translation>
    </message>
    <message>
        <source>Delete this</source>
        <translation>Diesen Eintrag löschen</translation>
    </message>
    <message>
        <source>Edit this</source>
        <translation>Diesen Eintrag bearbeiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Not deleted</source>
        <translation>Nicht gelöscht</translation>
    </message>
    <message>
        <source>&amp;Scheme</source>
        <translation>&amp;Schema</translation>
    </message>
    <message>
        <source>&amp;Select Scheme</source>
        <translation>Schema &amp;wählen</translation>
    </message>
    <message>
        <source>Select this sound scheme</source>
        <translation>Dieses Klangschema wählen</translation>
    </message>
    <message>
        <source>Delete the selected sound schemes</source>
        <translation>Die ausgewählten Klangschemata löschen</translation>
    </message>
    <message>
        <source>Edit the selected sound scheme</source>
        <translation>Das ausgewählte Klangschema bearbeiten</translation>
    </message>
    <message>
        <source>Delete Sound Schemes</source>
        <translation>Klangschemata löschen</translation>
    </message>
    <message>
        <source>Delete the selected sound scheme?</source>
        <translation>Das ausgewählte Klangschema löschen?</translation>
    </message>
    <message>
        <source>Delete the %1 selected sound schemes?</source>
        <translation>Die %1 ausgewählten Klangschemata löschen?</translation>
    </message>
    <message>
        <source>%1 of the selected sound schemes could not be deleted. Check that their folder can be written, then try again.</source>
        <translation>%1 der ausgewählten Klangschemata konnten nicht gelöscht werden. Prüfen Sie, ob ihr Ordner beschreibbar ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Practice</source>
        <translation>Üben</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <source>&amp;Set List</source>
        <translation>&amp;Setlist</translation>
    </message>
    <message>
        <source>&amp;Select Set List</source>
        <translation>Setlist &amp;wählen</translation>
    </message>
    <message>
        <source>Play this set list</source>
        <translation>Diese Setlist spielen</translation>
    </message>
    <message>
        <source>Delete the selected set lists</source>
        <translation>Die ausgewählten Setlists löschen</translation>
    </message>
    <message>
        <source>Edit the selected set list</source>
        <translation>Die ausgewählte Setlist bearbeiten</translation>
    </message>
    <message>
        <source>Delete Set Lists</source>
        <translation>Setlists löschen</translation>
    </message>
    <message>
        <source>Delete the selected set list? Its presets are kept.</source>
        <translation>Die ausgewählte Setlist löschen? Ihre Voreinstellungen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Delete the %1 selected set lists? Their presets are kept.</source>
        <translation>Die %1 ausgewählten Setlists löschen? Ihre Voreinstellungen bleiben erhalten.</translation>
    </message>
    <message>
        <source>%1 of the selected set lists could not be deleted. Check that their folder can be written, then try again.</source>
        <translation>%1 der ausgewählten Setlists konnten nicht gelöscht werden. Prüfen Sie, ob ihr Ordner beschreibbar ist, und versuchen Sie es dann erneut.</translation>
    </message>
</context>
<context>
    <name>LPrompts</name>
    <message>
        <source>the disk is full. Make room on it, then try again.</source>
        <translation>Der Datenträger ist voll. Schaffen Sie Platz darauf und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>your disk quota is used up. Make room in it, then try again.</source>
        <translation>Ihr Speicherkontingent ist aufgebraucht. Schaffen Sie Platz darin und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>the disk is mounted read-only. Choose a writable place or remount it, then try again.</source>
        <translation>Der Datenträger ist schreibgeschützt eingehängt. Wählen Sie einen beschreibbaren Ort oder hängen Sie ihn neu ein und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>permission denied. Check that you may write in that folder, then try again.</source>
        <translation>Zugriff verweigert. Prüfen Sie, ob Sie in diesem Ordner schreiben dürfen, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>the folder does not exist. Create it, then try again.</source>
        <translation>Der Ordner existiert nicht. Legen Sie ihn an und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>a file stands where a folder should be. Move it aside, then try again.</source>
        <translation>Wo ein Ordner sein sollte, steht eine Datei. Schieben Sie sie beiseite und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>a folder stands where the file should be. Move it aside, then try again.</source>
        <translation>Wo die Datei sein sollte, steht ein Ordner. Schieben Sie ihn beiseite und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>the file name is too long. Rename the file, then try again.</source>
        <translation>Der Dateiname ist zu lang. Benennen Sie die Datei um und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>the disk reported an input/output error. Check the disk, then try again.</source>
        <translation>Der Datenträger meldete einen Ein-/Ausgabefehler. Prüfen Sie den Datenträger und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>%1. Check that the folder exists and can be written, then try again.</source>
        <translation>%1. Prüfen Sie, ob der Ordner existiert und beschreibbar ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Nicht gespeichert</translation>
    </message>
    <message>
        <source>%1 could not be saved in %2: %3</source>
        <translation>%1 konnte nicht in %2 gespeichert werden: %3</translation>
    </message>
</context>
<context>
    <name>LPropertySheet</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Klang</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>LRhythmControls</name>
    <message>
        <source>Custom…</source>
        <translation>Eigene…</translation>
    </message>
    <message>
        <source>Any number of beats from 1 to 16, in groups you choose</source>
        <translation>1 bis 16 Schläge, in Gruppen Ihrer Wahl</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Swing</source>
        <translation>Swing</translation>
    </message>
    <message>
        <source>Where the off-beat falls with subdivisions 2 and 4: 50 % is straight (Off), 67 % a triplet feel, up to 75 %</source>
        <translation>Wo der Nachschlag bei Unterteilung 2 und 4 liegt: 50 % ist gerade (Aus), 67 % ein Triolengefühl, bis 75 %</translation>
    </message>
</context>
<context>
    <name>LSetListDialog</name>
    <message>
        <source>New Set List</source>
        <translation>Neue Setlist</translation>
    </message>
    <message>
        <source>Change Set List</source>
        <translation>Setlist ändern</translation>
    </message>
    <message>
        <source>Presets in playing order</source>
        <translation>Voreinstellungen in Spielreihenfolge</translation>
    </message>
    <message>
        <source>&amp;Add Preset…</source>
        <translation>Voreinstellung &amp;hinzufügen…</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Presets:</source>
        <translation>&amp;Voreinstellungen:</translation>
    </message>
    <message>
        <source>(deleted preset)</source>
        <translation>(gelöschte Voreinstellung)</translation>
    </message>
    <message>
        <source>The set list</source>
        <translation>Die Setlist</translation>
    </message>
    <message>
        <source>Please enter the set list name.</source>
        <translation>Bitte geben Sie den Namen der Setlist ein.</translation>
    </message>
</context>
<context>
    <name>LSetListNavigator</name>
    <message>
        <source>&amp;New Set List…</source>
        <translation>&amp;Neue Setlist…</translation>
    </message>
    <message>
        <source>Set Lis&amp;ts…</source>
        <translation>Se&amp;tlists…</translation>
    </message>
    <message>
        <source>&amp;Close Set List</source>
        <translation>Setlist s&amp;chließen</translation>
    </message>
    <message>
        <source>Previous preset</source>
        <translation>Vorige Voreinstellung</translation>
    </message>
    <message>
        <source>Previous preset of the set list (Left or [)</source>
        <translation>Vorige Voreinstellung der Setlist (Links oder [)</translation>
    </message>
    <message>
        <source>Next preset</source>
        <translation>Nächste Voreinstellung</translation>
    </message>
    <message>
        <source>Next preset of the set list (Right or ])</source>
        <translation>Nächste Voreinstellung der Setlist (Rechts oder ])</translation>
    </message>
    <message>
        <source>%1 %2/%3</source>
        <translation>%1 %2/%3</translation>
    </message>
</context>
<context>
    <name>LSetListWindow</name>
    <message>
        <source>Set Lists</source>
        <translation>Setlists</translation>
    </message>
</context>
<context>
    <name>LSoundPage</name>
    <message>
        <source>Set &amp;Accent Sound...</source>
        <translation>&amp;Betonungsklang festlegen...</translation>
    </message>
    <message>
        <source>Select accent sound</source>
        <translation>Betonungsklang wählen</translation>
    </message>
    <message>
        <source>Accent level</source>
        <translation>Betonungspegel</translation>
    </message>
    <message>
        <source>Set &amp;Beat Sound...</source>
        <translation>&amp;Schlagklang festlegen...</translation>
    </message>
    <message>
        <source>Select beat sound</source>
        <translation>Schlagklang wählen</translation>
    </message>
    <message>
        <source>Beat level</source>
        <translation>Schlagpegel</translation>
    </message>
    <message>
        <source>Set C&amp;lick Sound...</source>
        <translation>&amp;Klickklang festlegen...</translation>
    </message>
    <message>
        <source>Select click sound</source>
        <translation>Klickklang wählen</translation>
    </message>
    <message>
        <source>Click level</source>
        <translation>Klickpegel</translation>
    </message>
    <message>
        <source>The bar&apos;s first beat plays the accent sound this much louder</source>
        <translation>Der erste Schlag des Takts spielt den Betonungsklang um so viel lauter</translation>
    </message>
    <message>
        <source>Downbeat level</source>
        <translation>Pegel der Eins</translation>
    </message>
    <message>
        <source>&amp;Downbeat, above the accent:</source>
        <translation>&amp;Eins, über der Betonung:</translation>
    </message>
    <message>
        <source>L&amp;oad Scheme...</source>
        <translation>Schema l&amp;aden...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Scheme...</source>
        <translation>Schema s&amp;peichern...</translation>
    </message>
    <message>
        <source>&amp;Use Default Sounds</source>
        <translation>Standardklänge &amp;verwenden</translation>
    </message>
    <message>
        <source>You can use %1 to edit your sound files. For more information click the following link.</source>
        <translation>Mit %1 können Sie Ihre Klangdateien bearbeiten. Mehr erfahren Sie über den folgenden Verweis.</translation>
    </message>
    <message>
        <source>Launch %1...</source>
        <translation>%1 starten...</translation>
    </message>
    <message>
        <source>%1 Home Page</source>
        <translation>Webseite von %1</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (Standard)</translation>
    </message>
    <message>
        <source>Sound in use: %1</source>
        <translation>Verwendeter Klang: %1</translation>
    </message>
    <message>
        <source>Your choice of sounds</source>
        <translation>Ihre Klangauswahl</translation>
    </message>
    <message>
        <source>Play the accent sound</source>
        <translation>Betonungsklang abspielen</translation>
    </message>
    <message>
        <source>Play the beat sound</source>
        <translation>Schlagklang abspielen</translation>
    </message>
    <message>
        <source>Play the click sound</source>
        <translation>Klickklang abspielen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be played: the file cannot be read, or the audio output cannot be opened.</source>
        <translation>„%1“ lässt sich nicht abspielen: Die Datei ist nicht lesbar, oder die Audioausgabe lässt sich nicht öffnen.</translation>
    </message>
</context>
<context>
    <name>LSoundSchemeListWindow</name>
    <message>
        <source>Sound Schemes</source>
        <translation>Klangschemata</translation>
    </message>
</context>
<context>
    <name>LSoundSchemeSaveDialog</name>
    <message>
        <source>&amp;Accent Sound:</source>
        <translation>&amp;Betonungsklang:</translation>
    </message>
    <message>
        <source>Select accent sound</source>
        <translation>Betonungsklang wählen</translation>
    </message>
    <message>
        <source>Browse for the accent sound</source>
        <translation>Den Betonungsklang suchen</translation>
    </message>
    <message>
        <source>&amp;Beat Sound:</source>
        <translation>&amp;Schlagklang:</translation>
    </message>
    <message>
        <source>Select beat sound</source>
        <translation>Schlagklang wählen</translation>
    </message>
    <message>
        <source>Browse for the beat sound</source>
        <translation>Den Schlagklang suchen</translation>
    </message>
    <message>
        <source>C&amp;lick Sound:</source>
        <translation>&amp;Klickklang:</translation>
    </message>
    <message>
        <source>Select click sound</source>
        <translation>Klickklang wählen</translation>
    </message>
    <message>
        <source>Browse for the click sound</source>
        <translation>Den Klickklang suchen</translation>
    </message>
    <message>
        <source>Save Sound Scheme</source>
        <translation>Klangschema speichern</translation>
    </message>
    <message>
        <source>Change Sound Scheme</source>
        <translation>Klangschema ändern</translation>
    </message>
    <message>
        <source>Scheme &amp;Name:</source>
        <translation>Schema&amp;name:</translation>
    </message>
    <message>
        <source>The default sound</source>
        <translation>Der Standardklang</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>Spei&amp;chern</translation>
    </message>
    <message>
        <source>The sound scheme</source>
        <translation>Das Klangschema</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as a WAV sound.</source>
        <translation>„%1“ lässt sich nicht als WAV-Klang lesen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; lasts %2 ms; a sound may last at most %3 ms.</source>
        <translation>„%1“ dauert %2 ms; ein Klang darf höchstens %3 ms dauern.</translation>
    </message>
    <message>
        <source>WAV sound (*.wav)</source>
        <translation>WAV-Klang (*.wav)</translation>
    </message>
    <message>
        <source>File is not valid</source>
        <translation>Datei ist ungültig</translation>
    </message>
    <message>
        <source>Do you want to use %1 to edit this file?</source>
        <translation>Möchten Sie diese Datei mit %1 bearbeiten?</translation>
    </message>
    <message>
        <source>Edit file</source>
        <translation>Datei bearbeiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>File not copied</source>
        <translation>Datei nicht kopiert</translation>
    </message>
    <message>
        <source>Please enter the scheme name.</source>
        <translation>Bitte geben Sie den Namen des Schemas ein.</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be copied into Morvane&apos;s sound folder %2: %3</source>
        <translation>Der Klang „%1“ konnte nicht in Morvanes Klangordner %2 kopiert werden: %3</translation>
    </message>
</context>
<context>
    <name>LVolumeSlider</name>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>%1, %2 dB</source>
        <translation>%1, %2 dB</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source>S&amp;wing:</source>
        <translation>S&amp;wing:</translation>
    </message>
    <message>
        <source>Tempo display</source>
        <translation>Tempoanzeige</translation>
    </message>
    <message>
        <source>Beat light</source>
        <translation>Taktlicht</translation>
    </message>
    <message>
        <source>Swings from side to side once per beat while playing</source>
        <translation>Schwingt beim Spielen einmal je Schlag von einer Seite zur anderen</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Beats per minute, %1 to %2</source>
        <translation>Schläge pro Minute, %1 bis %2</translation>
    </message>
    <message>
        <source>Play or stop (%1)</source>
        <translation>Abspielen oder anhalten (%1)</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>Taktart</translation>
    </message>
    <message>
        <source>Beats in a bar, with the grouping of the odd ones</source>
        <translation>Schläge im Takt, bei ungeraden mit ihrer Gruppierung</translation>
    </message>
    <message>
        <source>Subdivisions</source>
        <translation>Unterteilungen</translation>
    </message>
    <message>
        <source>Clicks in each beat</source>
        <translation>Klicks in jedem Schlag</translation>
    </message>
    <message>
        <source>Tempo and marking</source>
        <translation>Tempo und Tempobezeichnung</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Spielt</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Essential file missing - please re-install Morvane Metronome Software</source>
        <translation>Eine notwendige Datei fehlt – bitte installieren Sie Morvane neu</translation>
    </message>
    <message>
        <source>Largo</source>
        <translation>Largo</translation>
    </message>
    <message>
        <source>Larghetto</source>
        <translation>Larghetto</translation>
    </message>
    <message>
        <source>Adagio</source>
        <translation>Adagio</translation>
    </message>
    <message>
        <source>Andante</source>
        <translation>Andante</translation>
    </message>
    <message>
        <source>Moderato</source>
        <translation>Moderato</translation>
    </message>
    <message>
        <source>Allegro</source>
        <translation>Allegro</translation>
    </message>
    <message>
        <source>Presto</source>
        <translation>Presto</translation>
    </message>
    <message>
        <source>Prestissimo</source>
        <translation>Prestissimo</translation>
    </message>
    <message>
        <source>Tempo guide</source>
        <translation>Tempoliste</translation>
    </message>
    <message>
        <source>Choosing a row sets its tempo</source>
        <translation>Die Wahl einer Zeile stellt ihr Tempo ein</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>BPM</source>
        <translation>BPM</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>%1 bpm, %2</source>
        <translation>%1 bpm, %2</translation>
    </message>
    <message>
        <source>T&amp;empo:</source>
        <translation>T&amp;empo:</translation>
    </message>
    <message>
        <source>&amp;Measure:</source>
        <translation>&amp;Taktart:</translation>
    </message>
    <message>
        <source>S&amp;ubDivs:</source>
        <translation>&amp;Unterteilung:</translation>
    </message>
    <message>
        <source>The audio output &quot;%1&quot; is not connected, so Morvane plays through the default output. Connect it and press Play again, or choose another output in Preferences.</source>
        <translation>Die Audioausgabe „%1“ ist nicht angeschlossen, daher spielt Morvane über die Standardausgabe. Schließen Sie sie an und drücken Sie erneut Abspielen, oder wählen Sie in den Einstellungen eine andere Ausgabe.</translation>
    </message>
    <message>
        <source>Cannot play: the audio output &quot;%1&quot; could not be opened or stopped working. Check that it is connected and not in use by another program, or choose another output in Preferences.</source>
        <translation>Abspielen nicht möglich: Die Audioausgabe „%1“ ließ sich nicht öffnen oder funktioniert nicht mehr. Prüfen Sie, ob sie angeschlossen ist und von keinem anderen Programm belegt wird, oder wählen Sie in den Einstellungen eine andere Ausgabe.</translation>
    </message>
    <message>
        <source>accent sound &quot;%1&quot;</source>
        <translation>Betonungsklang „%1“</translation>
    </message>
    <message>
        <source>beat sound &quot;%1&quot;</source>
        <translation>Schlagklang „%1“</translation>
    </message>
    <message>
        <source>click sound &quot;%1&quot;</source>
        <translation>Klickklang „%1“</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Your %1 could not be opened, so the shipped one plays instead. Put the file back in the folder %2 and choose it again in Preferences.</source>
        <translation>Ihr %1 ließ sich nicht öffnen, daher spielt stattdessen der mitgelieferte Klang. Legen Sie die Datei wieder in den Ordner %2 und wählen Sie sie in den Einstellungen erneut.</translation>
    </message>
    <message>
        <source>Your %1 could not be opened, so the shipped ones play instead. Put the files back in the folder %2 and choose them again in Preferences.</source>
        <translation>Ihr %1 ließen sich nicht öffnen, daher spielen stattdessen die mitgelieferten Klänge. Legen Sie die Dateien wieder in den Ordner %2 und wählen Sie sie in den Einstellungen erneut.</translation>
    </message>
    <message>
        <source>The file %1 was damaged or edited by hand, so Morvane rewrote it; nothing was lost: its old contents were kept as %2.</source>
        <translation>Die Datei %1 war beschädigt oder von Hand bearbeitet, daher hat Morvane sie neu geschrieben; nichts ging verloren: Ihr alter Inhalt wurde als %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>Your settings cannot be saved: %1 cannot be written. Morvane keeps using them until it closes; nothing on disk was lost. Check that the file and its folder can be written.</source>
        <translation>Ihre Einstellungen lassen sich nicht speichern: %1 ist nicht beschreibbar. Morvane verwendet sie weiter, bis es geschlossen wird; auf dem Datenträger ging nichts verloren. Prüfen Sie, ob die Datei und ihr Ordner beschreibbar sind.</translation>
    </message>
    <message numerus="yes">
        <source>The audio output fell behind %n time(s) since Play because the computer was too busy: a click may have been lost, but the beat kept its place. Closing busy programs helps.</source>
        <translation>
            <numerusform>Die Audioausgabe ist seit dem Start %n Mal in Rückstand geraten, weil der Computer zu beschäftigt war: Ein Klick ist vielleicht verloren gegangen, aber der Schlag blieb an seinem Platz. Es hilft, beschäftigte Programme zu schließen.</numerusform>
            <numerusform>Die Audioausgabe ist seit dem Start %n Mal in Rückstand geraten, weil der Computer zu beschäftigt war: Ein Klick ist vielleicht verloren gegangen, aber der Schlag blieb an seinem Platz. Es hilft, beschäftigte Programme zu schließen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MorvaneMain</name>
    <message>
        <source>usage: morvane [Qt options]
       morvane --help | --version
A desktop metronome. It takes no options of its own: set tempo, measure,
subdivision and volume in its window; every setting is kept for the next start.
</source>
        <translation>Aufruf: morvane [Qt-Optionen]
       morvane --help | --version
Ein Metronom für den Schreibtisch. Es hat keine eigenen Optionen: Tempo, Taktart,
Unterteilung und Lautstärke werden im Fenster eingestellt; jede Einstellung bleibt
für den nächsten Start erhalten.
</translation>
    </message>
    <message>
        <source>Your settings could not be read, so Morvane starts with its defaults. Nothing on disk was lost: the old file was kept as %1.</source>
        <translation>Ihre Einstellungen ließen sich nicht lesen, daher startet Morvane mit seinen Standardwerten. Auf dem Datenträger ging nichts verloren: Die alte Datei wurde als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Subdivision</source>
        <translation>Unterteilung</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Accent level</source>
        <translation>Betonungspegel</translation>
    </message>
    <message>
        <source>Beat level</source>
        <translation>Schlagpegel</translation>
    </message>
    <message>
        <source>Click level</source>
        <translation>Klickpegel</translation>
    </message>
    <message>
        <source>Downbeat level</source>
        <translation>Pegel der Eins</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder. Morvane keeps its sounds, presets and sound schemes below it: move the file aside, then start Morvane again.</source>
        <translation>%1 ist eine Datei, kein Ordner. Morvane legt darunter seine Klänge, Voreinstellungen und Klangschemata ab: Schieben Sie die Datei beiseite und starten Sie Morvane dann erneut.</translation>
    </message>
    <message>
        <source>Morvane cannot create its folder %1: %2</source>
        <translation>Morvane kann seinen Ordner %1 nicht anlegen: %2</translation>
    </message>
    <message>
        <source>The sounds that come with Morvane were not found. Install Morvane again.</source>
        <translation>Die mit Morvane gelieferten Klänge wurden nicht gefunden. Installieren Sie Morvane erneut.</translation>
    </message>
    <message>
        <source>The sound %1 that comes with Morvane is missing. Install Morvane again.</source>
        <translation>Der mit Morvane gelieferte Klang %1 fehlt. Installieren Sie Morvane erneut.</translation>
    </message>
    <message>
        <source>Morvane cannot copy its sound to %1: %2</source>
        <translation>Morvane kann seinen Klang nicht nach %1 kopieren: %2</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number, so it is now %3, the default</source>
        <translation>%1: „%2“ ist keine Zahl, daher gilt jetzt %3, der Standardwert</translation>
    </message>
    <message>
        <source>%1: %2 is beyond what Morvane can set, so it is now %3</source>
        <translation>%1: %2 liegt außerhalb dessen, was Morvane einstellen kann, daher gilt jetzt %3</translation>
    </message>
    <message>
        <source>Some stored settings could not be used as they were: %1.</source>
        <translation>Einige gespeicherte Einstellungen ließen sich nicht so verwenden, wie sie waren: %1.</translation>
    </message>
</context>
</TS>
