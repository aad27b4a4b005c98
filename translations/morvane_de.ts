<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LInfoStrip</name>
    <message>
        <source>Close this message</source>
        <translation>Diese Meldung schließen</translation>
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
    <message numerus="yes">
        <source>%1 → %2 in %n bar(s)</source>
        <translation>
            <numerusform>%1 → %2 in %n Takt</numerusform>
            <numerusform>%1 → %2 in %n Takten</numerusform>
        </translation>
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
</context>
</TS>
