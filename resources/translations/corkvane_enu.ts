<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pt_BR">
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Unable to write to %1</translation>
    </message>
</context>
<context>
    <name>NoteProtocol</name>
    <message>
        <source>De </source>
        <translation>From </translation>
    </message>
</context>
<context>
    <name>NoteServer</name>
    <message>
        <source>A porta TCP &quot;%1&quot; não é válida: informe um número de 1 a 65535 ou o nome de um serviço TCP.</source>
        <translation>The TCP port &quot;%1&quot; is not valid: enter a number from 1 to 65535 or the name of a TCP service.</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram carregadas; as demais permanecem no arquivo, mas não serão exibidas.</source>
        <translation>The notes file holds more than %1 notes. Only the first %1 were loaded; the others stay in the file but will not be shown.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>TfPostIt</name>
    <message>
        <source>Esconder esta nota</source>
        <translation>Hide this note</translation>
    </message>
    <message>
        <source>Apagar esta nota</source>
        <translation>Delete this note</translation>
    </message>
    <message>
        <source>Abrir &amp;URL</source>
        <translation>Open &amp;URL</translation>
    </message>
    <message>
        <source>C&amp;onfigurar...</source>
        <translation>C&amp;onfigure...</translation>
    </message>
    <message>
        <source>&amp;Título da Nota...</source>
        <translation>Note &amp;Title...</translation>
    </message>
    <message>
        <source>Alarme...</source>
        <translation>Alarm...</translation>
    </message>
    <message>
        <source>Sempre &amp;Visível</source>
        <translation>Always on &amp;Top</translation>
    </message>
    <message>
        <source>Co&amp;piar</source>
        <translation>Co&amp;py</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>P&amp;aste</translation>
    </message>
    <message>
        <source>Enviar...</source>
        <translation>Send...</translation>
    </message>
    <message>
        <source>&amp;Para um Computador...</source>
        <translation>&amp;To a Computer...</translation>
    </message>
    <message>
        <source>&amp;Responder para Computador...</source>
        <translation>&amp;Reply to Computer...</translation>
    </message>
    <message>
        <source>E-Mail...</source>
        <translation>E-Mail...</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Apagar Nota...</source>
        <translation>&amp;Delete Note...</translation>
    </message>
</context>
<context>
    <name>TfStickyNote</name>
    <message>
        <source>Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas.</source>
        <translation>No more notes can be created in this session: the limit of 1001 notes has been reached. Save, close and open Corkvane again to reuse the deleted notes.</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Deseja realmente eliminar esta nota?</source>
        <translation>Do you really want to delete this note?</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Select the Backup Location</translation>
    </message>
    <message>
        <source>Backup efetuado em </source>
        <translation>Backup made in </translation>
    </message>
</context>
<context>
    <name>TfrmConfNota</name>
    <message>
        <source>minuto(s)</source>
        <translation>minute(s)</translation>
    </message>
    <message>
        <source>hora(s)</source>
        <translation>hour(s)</translation>
    </message>
    <message>
        <source>dia(s)</source>
        <translation>day(s)</translation>
    </message>
    <message>
        <source>semana(s)</source>
        <translation>week(s)</translation>
    </message>
    <message>
        <source>mes(es)</source>
        <translation>month(s)</translation>
    </message>
    <message>
        <source>Domingo</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Segunda</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Terça</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Quarta</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Quinta</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Sexta</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Sábado</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Configurações</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Aparência</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Alarmes</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>Sons</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Geral</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Rede</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Pré-Visualização</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Exemplo de Nota</source>
        <translation>Sample Note</translation>
    </message>
    <message>
        <source>C&amp;or de Fundo</source>
        <translation>Background C&amp;olor</translation>
    </message>
    <message>
        <source>&amp;Fonte</source>
        <translation>&amp;Font</translation>
    </message>
    <message>
        <source>E&amp;xibir Barra de Scroll</source>
        <translation>Show Scroll &amp;Bar</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>&amp;Cor Diferenciada</source>
        <translation>&amp;Distinct Color</translation>
    </message>
    <message>
        <source>Exibir &amp;Data</source>
        <translation>Show &amp;Date</translation>
    </message>
    <message>
        <source>Exibir &amp;Hora</source>
        <translation>Show &amp;Time</translation>
    </message>
    <message>
        <source>Habilita Alarme</source>
        <translation>Enable Alarm</translation>
    </message>
    <message>
        <source>&amp;Data:</source>
        <translation>&amp;Date:</translation>
    </message>
    <message>
        <source>&amp;Hora:</source>
        <translation>&amp;Time:</translation>
    </message>
    <message>
        <source>Relembrar a cada </source>
        <translation>Remind every </translation>
    </message>
    <message>
        <source>Dias da Semana:</source>
        <translation>Days of the Week:</translation>
    </message>
    <message>
        <source>Toca &amp;Som</source>
        <translation>Play &amp;Sound</translation>
    </message>
    <message>
        <source>&amp;Testar</source>
        <translation>&amp;Test</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Wave Files (*.wav)</translation>
    </message>
    <message>
        <source>Este não é um arquivo de som válido!</source>
        <translation>This is not a valid sound file!</translation>
    </message>
    <message>
        <source>A data e hora selecionada para o alarme é mais antiga que a atual!</source>
        <translation>The date and time chosen for the alarm are earlier than now!</translation>
    </message>
</context>
<context>
    <name>TfrmMostraAlarmes</name>
    <message>
        <source>Tarefas para Hoje</source>
        <translation>Tasks for Today</translation>
    </message>
    <message>
        <source>&amp;Visualizar</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TfrmMudaCaption</name>
    <message>
        <source>Muda Título</source>
        <translation>Change Title</translation>
    </message>
    <message>
        <source>&amp;Título da Nota:</source>
        <translation>Note &amp;Title:</translation>
    </message>
    <message>
        <source>&amp;Padrão</source>
        <translation>&amp;Default</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmSobre</name>
    <message>
        <source>https://www.corkvane.org/</source>
        <translation>https://www.corkvane.org/</translation>
    </message>
    <message>
        <source>Sobre o Sistema</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Versão:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Aqui fica a versão</source>
        <translation>The version goes here</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Duplo-clique para criar nota</source>
        <translation>Double-click to create a note</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&lt;Todos&gt;</source>
        <translation>&lt;All&gt;</translation>
    </message>
    <message>
        <source>&amp;Nova Nota</source>
        <translation>&amp;New Note</translation>
    </message>
    <message>
        <source>Mo&amp;strar</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>M&amp;ostrar Escondidas</source>
        <translation>Show &amp;Hidden</translation>
    </message>
    <message>
        <source>Mostrar Tarefas para &amp;Hoje</source>
        <translation>Show Tasks for T&amp;oday</translation>
    </message>
    <message>
        <source>Salvar A&amp;gora</source>
        <translation>Save &amp;Now</translation>
    </message>
    <message>
        <source>Cópia de &amp;Segurança</source>
        <translation>&amp;Backup</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Caderneta de Contatos</source>
        <translation>&amp;Contact Book</translation>
    </message>
    <message>
        <source>&amp;Preferências...</source>
        <translation>&amp;Preferences...</translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Português</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>Inglês</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Corkvane na Web...</source>
        <translation>Corkvane on the Web...</translation>
    </message>
    <message>
        <source>Sobre o Sistema...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>A&amp;juda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
</TS>
