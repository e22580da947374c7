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
    <name>NoteTrash</name>
    <message>
        <source>A nota não pôde ser posta na Lixeira e por isso não foi apagada.</source>
        <translation>The note could not be put in the Trash, so it was not deleted.</translation>
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
    <name>SyncEngine</name>
    <message>
        <source>a pasta %1 não existe</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <source>%1 nota(s) da pasta de sincronização não cabem nas 1001 notas desta sessão e ficaram na pasta. Apague notas que não usa, salve e abra o Corkvane de novo para recebê-las.</source>
        <translation>%1 note(s) of the sync folder do not fit into the 1001 notes of this session and were left in the folder. Delete notes you do not use, save, and start Corkvane again to receive them.</translation>
    </message>
    <message>
        <source>Estes arquivos da pasta de sincronização não puderam ser lidos e foram deixados onde estão:
%1</source>
        <translation>These files of the sync folder could not be read and were left where they are:
%1</translation>
    </message>
    <message>
        <source>Sincronização desligada.</source>
        <translation>Sync is off.</translation>
    </message>
    <message>
        <source>Última sincronização: nenhuma ainda.</source>
        <translation>Last sync: none yet.</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — falhou: %2</source>
        <translation>Last sync: %1 — failed: %2</translation>
    </message>
    <message>
        <source>1 recebida</source>
        <translation>1 received</translation>
    </message>
    <message>
        <source>%1 recebidas</source>
        <translation>%1 received</translation>
    </message>
    <message>
        <source>1 enviada</source>
        <translation>1 sent</translation>
    </message>
    <message>
        <source>%1 enviadas</source>
        <translation>%1 sent</translation>
    </message>
    <message>
        <source>1 conflito</source>
        <translation>1 conflict</translation>
    </message>
    <message>
        <source>%1 conflitos</source>
        <translation>%1 conflicts</translation>
    </message>
    <message>
        <source>1 apagada</source>
        <translation>1 deleted</translation>
    </message>
    <message>
        <source>%1 apagadas</source>
        <translation>%1 deleted</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — nada mudou</source>
        <translation>Last sync: %1 — nothing changed</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — %2</source>
        <translation>Last sync: %1 — %2</translation>
    </message>
    <message>
        <source>; nada novo até %1</source>
        <translation>; nothing new up to %1</translation>
    </message>
</context>
<context>
    <name>TSmtpClientBase</name>
    <message>
        <source>O certificado do servidor não é válido para %1: %2</source>
        <translation>The server certificate is not valid for %1: %2</translation>
    </message>
    <message>
        <source>A conexão segura com %1 falhou: %2</source>
        <translation>The secure connection to %1 failed: %2</translation>
    </message>
    <message>
        <source>O servidor %1 não oferece conexão segura (STARTTLS); nada foi enviado.</source>
        <translation>The server %1 does not offer a secure connection (STARTTLS); nothing was sent.</translation>
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
    <message>
        <source>Não foi possível imprimir: %1</source>
        <translation>Could not print: %1</translation>
    </message>
    <message>
        <source>Ligue a rede em Preferências &gt; Rede</source>
        <translation>Turn the network on in Preferences &gt; Network</translation>
    </message>
    <message>
        <source>Nota sem título</source>
        <translation>Untitled note</translation>
    </message>
    <message>
        <source>Ctrl+clique para abrir %1</source>
        <translation>Ctrl+click to open %1</translation>
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
    <message>
        <source>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Também não foi possível guardar uma cópia dele (%2), por isso o Corkvane não gravará sobre ele. O Corkvane começa com as configurações padrão.</source>
        <translation>The notes file %1 could not be read: it holds no notes and no settings. No copy of it could be kept either (%2), so Corkvane will not write over it. Corkvane starts with the default settings.</translation>
    </message>
    <message>
        <source>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Ele foi guardado intacto em %2. O Corkvane começa com as configurações padrão.</source>
        <translation>The notes file %1 could not be read: it holds no notes and no settings. It was kept whole as %2. Corkvane starts with the default settings.</translation>
    </message>
    <message>
        <source>Não há lugar para mais notas nesta sessão. Salve, feche e abra o Corkvane novamente para restaurar notas da Lixeira.</source>
        <translation>There is no room for more notes in this session. Save, close and open Corkvane again to restore notes from the Trash.</translation>
    </message>
    <message>
        <source>A cópia %1 não pôde ser lida.</source>
        <translation>The copy %1 could not be read.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: as notas atuais não puderam ser salvas.</source>
        <translation>Nothing was restored: the current notes could not be saved.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: não foi possível guardar as notas atuais em um instantâneo.</source>
        <translation>Nothing was restored: the current notes could not be kept in a snapshot.</translation>
    </message>
    <message>
        <source>Nada foi restaurado.</source>
        <translation>Nothing was restored.</translation>
    </message>
    <message>
        <source>O arquivo ilegível não pôde ser guardado em outro lugar e não será substituído.</source>
        <translation>The unreadable file could not be kept anywhere else and will not be replaced.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: feche antes as janelas abertas do Corkvane.</source>
        <translation>Nothing was restored: close the open Corkvane windows first.</translation>
    </message>
</context>
<context>
    <name>TfrmAddContato</name>
    <message>
        <source>Adicionar/Modificar Contatos</source>
        <translation>Add/Modify Contacts</translation>
    </message>
    <message>
        <source>&amp;Nome:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;E-Mail ou IP:</source>
        <translation>&amp;E-Mail or IP:</translation>
    </message>
    <message>
        <source>&amp;Anotações:</source>
        <translation>N&amp;otes:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmAddressBook</name>
    <message>
        <source>Caderneta de Contatos</source>
        <translation>Contact Book</translation>
    </message>
    <message>
        <source>&amp;Novo</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Novo Contato</source>
        <translation>New Contact</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Editar Contato</source>
        <translation>Edit Contact</translation>
    </message>
    <message>
        <source>E&amp;xcluir</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Excluir Contato</source>
        <translation>Delete Contact</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fechar Caderneta</source>
        <translation>Close Contact Book</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IP ou E-mail</source>
        <translation>IP or E-mail</translation>
    </message>
    <message>
        <source>Anotações</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Para:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>Adicionar contato com destinatário</source>
        <translation>Add Contact as Recipient</translation>
    </message>
    <message>
        <source>Remover Contato como Destinatário</source>
        <translation>Remove Contact as Recipient</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste Contato?</source>
        <translation>Delete this contact?</translation>
    </message>
    <message>
        <source>Selecione um contato!</source>
        <translation>Select a contact!</translation>
    </message>
    <message>
        <source>Contatos</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>Destinatários</source>
        <translation>Recipients</translation>
    </message>
</context>
<context>
    <name>TfrmAjuda</name>
    <message>
        <source>O arquivo de ajuda %1 não foi encontrado.</source>
        <translation>The help file %1 was not found.</translation>
    </message>
    <message>
        <source>Ajuda</source>
        <translation>Help</translation>
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
    <message>
        <source>&amp;Utilizar Sons</source>
        <translation>&amp;Use Sounds</translation>
    </message>
    <message>
        <source>Não Utilizar &amp;Sons</source>
        <translation>Do Not Use &amp;Sounds</translation>
    </message>
    <message>
        <source>Evento</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Caminho Completo</source>
        <translation>Full Path</translation>
    </message>
    <message>
        <source>Nova Nota</source>
        <translation>New Note</translation>
    </message>
    <message>
        <source>Excluir Nota</source>
        <translation>Delete Note</translation>
    </message>
    <message>
        <source>Recebimento de Nota</source>
        <translation>Note Received</translation>
    </message>
    <message>
        <source>Informações Pessoais</source>
        <translation>Personal Information</translation>
    </message>
    <message>
        <source>Usuário:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Diretório de Dados:</source>
        <translation>Data Folder:</translation>
    </message>
    <message>
        <source>&amp;Perguntar antes de excluir nota</source>
        <translation>&amp;Ask before deleting a note</translation>
    </message>
    <message>
        <source>Sal&amp;vamento Automático a cada</source>
        <translation>Auto-sa&amp;ve every</translation>
    </message>
    <message>
        <source>minutos</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Mostra Nota com Tarefas Agendadas para o Dia na Inicialização</source>
        <translation>Show a Note with the Day&apos;s Scheduled Tasks at Start-up</translation>
    </message>
    <message>
        <source>Efetuar Backup na Saída do Programa</source>
        <translation>Make a Backup When the Program Exits</translation>
    </message>
    <message>
        <source>Iniciar o Corkvane com o sistema</source>
        <translation>Start Corkvane with the system</translation>
    </message>
    <message>
        <source>Habilitar Funções de Rede</source>
        <translation>Enable Network Functions</translation>
    </message>
    <message>
        <source>Servidor SMTP</source>
        <translation>SMTP Server</translation>
    </message>
    <message>
        <source>&amp;Endereço</source>
        <translation>A&amp;ddress</translation>
    </message>
    <message>
        <source>&amp;Porta</source>
        <translation>&amp;Port</translation>
    </message>
    <message>
        <source>&amp;Seu e-mail:</source>
        <translation>&amp;Your e-mail:</translation>
    </message>
    <message>
        <source>&amp;Autenticação</source>
        <translation>&amp;Authentication</translation>
    </message>
    <message>
        <source>&amp;Usuário</source>
        <translation>&amp;User</translation>
    </message>
    <message>
        <source>&amp;Senha:</source>
        <translation>Pass&amp;word:</translation>
    </message>
    <message>
        <source>Nenhuma</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Texto Plano</source>
        <translation>Plain Text</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>MD5</source>
        <translation>MD5</translation>
    </message>
    <message>
        <source>Rede Local</source>
        <translation>Local Network</translation>
    </message>
    <message>
        <source>Não bloqueia notas </source>
        <translation>Do not block notes </translation>
    </message>
    <message>
        <source>Bloqueia todas as notas</source>
        <translation>Block all notes</translation>
    </message>
    <message>
        <source>Bloquear notas vindas de:</source>
        <translation>Block notes coming from:</translation>
    </message>
    <message>
        <source>&amp;Adicionar</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>Apa&amp;gar</source>
        <translation>De&amp;lete</translation>
    </message>
    <message>
        <source>Porta:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Cor de Fundo</source>
        <translation>Background Color</translation>
    </message>
    <message>
        <source>Cor da Fonte</source>
        <translation>Font Color</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Select the Backup Location</translation>
    </message>
    <message>
        <source>Selecione um ítem para exclusão!</source>
        <translation>Select an item to delete!</translation>
    </message>
    <message>
        <source>Atenção</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste ítem?</source>
        <translation>Delete this item?</translation>
    </message>
    <message>
        <source>O tempo de salvamento automático deve estar entre 5 e 60 minutos!</source>
        <translation>The auto-save interval must be between 5 and 60 minutes!</translation>
    </message>
    <message>
        <source>Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas as mensagens.</source>
        <translation>You have not added any entry to the block list. The system will accept all messages.</translation>
    </message>
    <message>
        <source>Se&amp;gurança</source>
        <translation>Se&amp;curity</translation>
    </message>
    <message>
        <source>Sons dos eventos</source>
        <translation>Event sounds</translation>
    </message>
    <message>
        <source>Intervalo, na unidade escolhida ao lado</source>
        <translation>Interval, in the unit chosen beside it</translation>
    </message>
    <message>
        <source>Procurar o arquivo de som do alarme</source>
        <translation>Browse for the alarm&apos;s sound file</translation>
    </message>
    <message>
        <source>Escolher a pasta do backup na saída</source>
        <translation>Choose the folder of the backup on exit</translation>
    </message>
    <message>
        <source>Sincronização</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>P&amp;asta:</source>
        <translation>F&amp;older:</translation>
    </message>
    <message>
        <source>Pasta de sincronização</source>
        <translation>Sync folder</translation>
    </message>
    <message>
        <source>Escolher a pasta de sincronização</source>
        <translation>Choose the sync folder</translation>
    </message>
    <message>
        <source>Última sincronização</source>
        <translation>Last sync</translation>
    </message>
    <message>
        <source>As mesmas notas em todos os seus computadores: escolha aqui uma pasta que um programa de sincronização de arquivos, como o Syncthing, mantém igual em todos eles, e a mesma pasta no Corkvane de cada computador. Em branco, as notas ficam só neste computador.</source>
        <translation>The same notes on all your computers: choose here a folder that a file sync program, such as Syncthing, keeps the same on all of them, and the same folder in Corkvane on each computer. Left empty, the notes stay on this computer only.</translation>
    </message>
    <message>
        <source>Selecione a Pasta de Sincronização</source>
        <translation>Select the Sync Folder</translation>
    </message>
    <message>
        <source>A pasta de sincronização deve ser um caminho completo, começando por &quot;/&quot;.</source>
        <translation>The sync folder must be a full path, starting with &quot;/&quot;.</translation>
    </message>
    <message>
        <source>Não foi possível criar a pasta de sincronização %1.</source>
        <translation>The sync folder %1 could not be made.</translation>
    </message>
</context>
<context>
    <name>TfrmConfSom</name>
    <message>
        <source>Configurar Som</source>
        <translation>Configure Sound</translation>
    </message>
    <message>
        <source>Sem Som</source>
        <translation>No Sound</translation>
    </message>
    <message>
        <source>Som:</source>
        <translation>Sound:</translation>
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
        <source>Evento </source>
        <translation>Event </translation>
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
        <source>Selecione um arquivo!</source>
        <translation>Select a file!</translation>
    </message>
    <message>
        <source>Procurar o arquivo de som</source>
        <translation>Browse for the sound file</translation>
    </message>
</context>
<context>
    <name>TfrmEnviaComputador</name>
    <message>
        <source>Enviar para...</source>
        <translation>Send to...</translation>
    </message>
    <message>
        <source>IP ou Nome do Computador:</source>
        <translation>IP or Computer Name:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Address and Contact Book</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Enviando para %1...</source>
        <translation>Sending to %1...</translation>
    </message>
    <message>
        <source>Transmitindo Nota...</source>
        <translation>Transmitting Note...</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>OK!</translation>
    </message>
    <message>
        <source>Nota Enviada!</source>
        <translation>Note Sent!</translation>
    </message>
    <message>
        <source>Não foi possível conectar em %1 !</source>
        <translation>Could not connect to %1 !</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Encontrados na rede:</source>
        <translation>Found on the network:</translation>
    </message>
    <message>
        <source>Clique duas vezes para adicionar o computador</source>
        <translation>Double-click to add the computer</translation>
    </message>
    <message>
        <source>Busca na rede indisponível</source>
        <translation>Network search unavailable</translation>
    </message>
    <message>
        <source>Adicionar à &amp;Caderneta de Contatos...</source>
        <translation>Add to the &amp;Contact Book...</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Encontrados na rede</source>
        <translation>Found on the network</translation>
    </message>
    <message>
        <source>Nenhum endereço informado: digite o IP ou o nome de pelo menos um computador.</source>
        <translation>No address given: type the IP or the name of at least one computer.</translation>
    </message>
    <message>
        <source>A conexão com %1 caiu durante o envio: a nota não chegou inteira!</source>
        <translation>The connection to %1 dropped during the send: the note did not arrive whole!</translation>
    </message>
</context>
<context>
    <name>TfrmEnviarEmail</name>
    <message>
        <source>Conectado!</source>
        <translation>Connected!</translation>
    </message>
    <message>
        <source>Conexão Terminada!</source>
        <translation>Connection Closed!</translation>
    </message>
    <message>
        <source>Enviar E-Mail</source>
        <translation>Send E-Mail</translation>
    </message>
    <message>
        <source>&amp;Para:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Address and Contact Book</translation>
    </message>
    <message>
        <source>Te&amp;xto:</source>
        <translation>Te&amp;xt:</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Este e-mail foi enviado pelo Corkvane</source>
        <translation>This e-mail was sent by Corkvane</translation>
    </message>
    <message>
        <source>Faça o download gratuíto em</source>
        <translation>Download it free at</translation>
    </message>
    <message>
        <source>Conectando ao Servidor...</source>
        <translation>Connecting to the Server...</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>O e-mail foi enviado com sucesso!</source>
        <translation>The e-mail was sent successfully!</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>O e-mail não foi enviado! Verifique as configurações de rede.</source>
        <translation>The e-mail was not sent! Check the network settings.</translation>
    </message>
    <message>
        <source>Informe ao menos um endereço de e-mail em &quot;Para&quot;.</source>
        <translation>Enter at least one e-mail address in &quot;To&quot;.</translation>
    </message>
    <message>
        <source>Assunto:</source>
        <translation>Subject:</translation>
    </message>
</context>
<context>
    <name>TfrmInsereBloq</name>
    <message>
        <source>Inserir Remetente Bloqueado</source>
        <translation>Add Blocked Sender</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Digite o endereço IP do remetente, como 192.168.0.12.</source>
        <translation>Type the sender&apos;s IP address, such as 192.168.0.12.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; não é um endereço IP de computador e nunca bloquearia nada. Digite o endereço IP do remetente, como 192.168.0.12.</source>
        <translation>&quot;%1&quot; is not a computer&apos;s IP address and would never block anything. Type the sender&apos;s IP address, such as 192.168.0.12.</translation>
    </message>
    <message>
        <source>Insira o endereço IP do computador cujas notas você deseja bloquear, como 192.168.0.12. Só o endereço IP do remetente é comparado: nomes de computador, de usuário ou e-mails não bloqueiam nada.</source>
        <translation>Enter the IP address of the computer whose notes you want to block, such as 192.168.0.12. Only the sender&apos;s IP address is compared: computer names, user names or e-mail addresses block nothing.</translation>
    </message>
</context>
<context>
    <name>TfrmLixeira</name>
    <message>
        <source>A Lixeira não pôde ser lida: %1</source>
        <translation>The Trash could not be read: %1</translation>
    </message>
    <message>
        <source>A Lixeira está vazia.</source>
        <translation>The Trash is empty.</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Lixeira</source>
        <translation>Trash</translation>
    </message>
    <message>
        <source>&amp;Notas apagadas:</source>
        <translation>Deleted &amp;notes:</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Primeira linha</source>
        <translation>First line</translation>
    </message>
    <message>
        <source>Apagada em</source>
        <translation>Deleted on</translation>
    </message>
    <message>
        <source>Notas apagadas</source>
        <translation>Deleted notes</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Restaurar as notas escolhidas</source>
        <translation>Restore the chosen notes</translation>
    </message>
    <message>
        <source>Esvaziar</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>Esvaziar a Lixeira</source>
        <translation>Empty the Trash</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fechar a Lixeira</source>
        <translation>Close the Trash</translation>
    </message>
    <message>
        <source>Notas na Lixeira: %1. As notas apagadas há mais de %2 dias são descartadas.</source>
        <translation>Notes in the Trash: %1. Notes deleted more than %2 days ago are discarded.</translation>
    </message>
    <message>
        <source>Esvaziar a Lixeira? As notas nela (%1) serão apagadas para sempre.</source>
        <translation>Empty the Trash? The notes in it (%1) will be deleted for good.</translation>
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
    <name>TfrmNotas</name>
    <message>
        <source>(sem título)</source>
        <translation>(untitled)</translation>
    </message>
    <message>
        <source>Oculta</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>Visível</source>
        <translation>Shown</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Alarme</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Recebida de</source>
        <translation>Received from</translation>
    </message>
    <message>
        <source>Situação</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Notas</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>&amp;Procurar:</source>
        <translation>S&amp;earch:</translation>
    </message>
    <message>
        <source>título ou texto da nota</source>
        <translation>title or text of the note</translation>
    </message>
    <message>
        <source>&amp;Mostrar</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>Men&amp;u</source>
        <translation>Men&amp;u</translation>
    </message>
    <message>
        <source>Menu do Corkvane</source>
        <translation>Corkvane menu</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Limpar a busca</source>
        <translation>Clear the search</translation>
    </message>
    <message>
        <source>&amp;Ocultar</source>
        <translation>&amp;Hide</translation>
    </message>
    <message>
        <source>&amp;Excluir</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Configurações...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>Encontradas: %1 de %2</source>
        <translation>Found: %1 of %2</translation>
    </message>
    <message>
        <source>Notas: %1</source>
        <translation>Notes: %1</translation>
    </message>
</context>
<context>
    <name>TfrmRestaurarCopia</name>
    <message>
        <source>Instantâneo</source>
        <translation>Snapshot</translation>
    </message>
    <message>
        <source>Cópia de segurança (%1)</source>
        <translation>Backup (%1)</translation>
    </message>
    <message>
        <source>Ainda não há cópias. O Corkvane guarda um instantâneo das notas a cada início e, enquanto funciona, no máximo um por hora quando as notas mudam.</source>
        <translation>There are no copies yet. Corkvane keeps a snapshot of the notes at every start and, while it runs, at most one an hour when the notes change.</translation>
    </message>
    <message>
        <source>(sem título)</source>
        <translation>(untitled)</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Restaurar as notas de %1? As notas de agora serão guardadas antes em um instantâneo, que aparecerá nesta lista: a restauração poderá ser desfeita.</source>
        <translation>Restore the notes of %1? The notes of now will first be kept in a snapshot, which will appear in this list: the restore can be undone.</translation>
    </message>
    <message>
        <source>Restaurar Cópia</source>
        <translation>Restore Backup</translation>
    </message>
    <message>
        <source>&amp;Cópias das notas:</source>
        <translation>&amp;Copies of the notes:</translation>
    </message>
    <message>
        <source>Momento</source>
        <translation>Moment</translation>
    </message>
    <message>
        <source>Notas</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Origem</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Cópias das notas</source>
        <translation>Copies of the notes</translation>
    </message>
    <message>
        <source>&amp;Notas da cópia escolhida:</source>
        <translation>&amp;Notes of the chosen copy:</translation>
    </message>
    <message>
        <source>Notas da cópia escolhida</source>
        <translation>Notes of the chosen copy</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Restaurar a cópia escolhida</source>
        <translation>Restore the chosen copy</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fechar sem restaurar</source>
        <translation>Close without restoring</translation>
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
    <message>
        <source>Nenhum navegador pôde abrir o endereço %1. Abra-o à mão num navegador.</source>
        <translation>No browser could open the address %1. Open it in a browser by hand.</translation>
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
    <message>
        <source>Reunir Notas</source>
        <translation>Gather Notes</translation>
    </message>
    <message>
        <source>Restaurar Cópia...</source>
        <translation>Restore Backup...</translation>
    </message>
    <message>
        <source>Lixeira...</source>
        <translation>Trash...</translation>
    </message>
    <message>
        <source>&amp;Localizar Notas...</source>
        <translation>&amp;Find Notes...</translation>
    </message>
</context>
</TS>
