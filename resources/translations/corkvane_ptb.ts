<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="pt_BR">
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
        <translation>De </translation>
    </message>
</context>
<context>
    <name>NoteServer</name>
    <message>
        <source>A porta TCP &quot;%1&quot; não é válida: informe um número de 1 a 65535 ou o nome de um serviço TCP.</source>
        <translation>A porta TCP &quot;%1&quot; não é válida: informe um número de 1 a 65535 ou o nome de um serviço TCP.</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram carregadas; as demais permanecem no arquivo, mas não serão exibidas.</source>
        <translation>O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram carregadas; as demais permanecem no arquivo, mas não serão exibidas.</translation>
    </message>
</context>
<context>
    <name>NoteTrash</name>
    <message>
        <source>A nota não pôde ser posta na Lixeira e por isso não foi apagada.</source>
        <translation>A nota não pôde ser posta na Lixeira e por isso não foi apagada.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Erro</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>SyncEngine</name>
    <message>
        <source>a pasta %1 não existe</source>
        <translation>a pasta %1 não existe</translation>
    </message>
    <message>
        <source>%1 nota(s) da pasta de sincronização não cabem nas 1001 notas desta sessão e ficaram na pasta. Apague notas que não usa, salve e abra o Corkvane de novo para recebê-las.</source>
        <translation>%1 nota(s) da pasta de sincronização não cabem nas 1001 notas desta sessão e ficaram na pasta. Apague notas que não usa, salve e abra o Corkvane de novo para recebê-las.</translation>
    </message>
    <message>
        <source>Estes arquivos da pasta de sincronização não puderam ser lidos e foram deixados onde estão:
%1</source>
        <translation>Estes arquivos da pasta de sincronização não puderam ser lidos e foram deixados onde estão:
%1</translation>
    </message>
    <message>
        <source>Sincronização desligada.</source>
        <translation>Sincronização desligada.</translation>
    </message>
    <message>
        <source>Última sincronização: nenhuma ainda.</source>
        <translation>Última sincronização: nenhuma ainda.</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — falhou: %2</source>
        <translation>Última sincronização: %1 — falhou: %2</translation>
    </message>
    <message>
        <source>1 recebida</source>
        <translation>1 recebida</translation>
    </message>
    <message>
        <source>%1 recebidas</source>
        <translation>%1 recebidas</translation>
    </message>
    <message>
        <source>1 enviada</source>
        <translation>1 enviada</translation>
    </message>
    <message>
        <source>%1 enviadas</source>
        <translation>%1 enviadas</translation>
    </message>
    <message>
        <source>1 conflito</source>
        <translation>1 conflito</translation>
    </message>
    <message>
        <source>%1 conflitos</source>
        <translation>%1 conflitos</translation>
    </message>
    <message>
        <source>1 apagada</source>
        <translation>1 apagada</translation>
    </message>
    <message>
        <source>%1 apagadas</source>
        <translation>%1 apagadas</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — nada mudou</source>
        <translation>Última sincronização: %1 — nada mudou</translation>
    </message>
    <message>
        <source>Última sincronização: %1 — %2</source>
        <translation>Última sincronização: %1 — %2</translation>
    </message>
    <message>
        <source>; nada novo até %1</source>
        <translation>; nada novo até %1</translation>
    </message>
</context>
<context>
    <name>TSmtpClientBase</name>
    <message>
        <source>O certificado do servidor não é válido para %1: %2</source>
        <translation>O certificado do servidor não é válido para %1: %2</translation>
    </message>
    <message>
        <source>A conexão segura com %1 falhou: %2</source>
        <translation>A conexão segura com %1 falhou: %2</translation>
    </message>
    <message>
        <source>O servidor %1 não oferece conexão segura (STARTTLS); nada foi enviado.</source>
        <translation>O servidor %1 não oferece conexão segura (STARTTLS); nada foi enviado.</translation>
    </message>
</context>
<context>
    <name>TfPostIt</name>
    <message>
        <source>Esconder esta nota</source>
        <translation>Esconder esta nota</translation>
    </message>
    <message>
        <source>Apagar esta nota</source>
        <translation>Apagar esta nota</translation>
    </message>
    <message>
        <source>Abrir &amp;URL</source>
        <translation>Abrir &amp;URL</translation>
    </message>
    <message>
        <source>C&amp;onfigurar...</source>
        <translation>C&amp;onfigurar...</translation>
    </message>
    <message>
        <source>&amp;Título da Nota...</source>
        <translation>&amp;Título da Nota...</translation>
    </message>
    <message>
        <source>Alarme...</source>
        <translation>Alarme...</translation>
    </message>
    <message>
        <source>Sempre &amp;Visível</source>
        <translation>Sempre &amp;Visível</translation>
    </message>
    <message>
        <source>Co&amp;piar</source>
        <translation>Co&amp;piar</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>C&amp;olar</translation>
    </message>
    <message>
        <source>Enviar...</source>
        <translation>Enviar...</translation>
    </message>
    <message>
        <source>&amp;Para um Computador...</source>
        <translation>&amp;Para um Computador...</translation>
    </message>
    <message>
        <source>&amp;Responder para Computador...</source>
        <translation>&amp;Responder para Computador...</translation>
    </message>
    <message>
        <source>E-Mail...</source>
        <translation>E-Mail...</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>&amp;Apagar Nota...</source>
        <translation>&amp;Apagar Nota...</translation>
    </message>
    <message>
        <source>Não foi possível imprimir: %1</source>
        <translation>Não foi possível imprimir: %1</translation>
    </message>
    <message>
        <source>Ligue a rede em Preferências &gt; Rede</source>
        <translation>Ligue a rede em Preferências &gt; Rede</translation>
    </message>
    <message>
        <source>Nota sem título</source>
        <translation>Nota sem título</translation>
    </message>
    <message>
        <source>Ctrl+clique para abrir %1</source>
        <translation>Ctrl+clique para abrir %1</translation>
    </message>
</context>
<context>
    <name>TfStickyNote</name>
    <message>
        <source>Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas.</source>
        <translation>Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas.</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Deseja realmente eliminar esta nota?</source>
        <translation>Deseja realmente eliminar esta nota?</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Selecione o Local para Backup</translation>
    </message>
    <message>
        <source>Backup efetuado em </source>
        <translation>Backup efetuado em </translation>
    </message>
    <message>
        <source>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Também não foi possível guardar uma cópia dele (%2), por isso o Corkvane não gravará sobre ele. O Corkvane começa com as configurações padrão.</source>
        <translation>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Também não foi possível guardar uma cópia dele (%2), por isso o Corkvane não gravará sobre ele. O Corkvane começa com as configurações padrão.</translation>
    </message>
    <message>
        <source>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Ele foi guardado intacto em %2. O Corkvane começa com as configurações padrão.</source>
        <translation>O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Ele foi guardado intacto em %2. O Corkvane começa com as configurações padrão.</translation>
    </message>
    <message>
        <source>Não há lugar para mais notas nesta sessão. Salve, feche e abra o Corkvane novamente para restaurar notas da Lixeira.</source>
        <translation>Não há lugar para mais notas nesta sessão. Salve, feche e abra o Corkvane novamente para restaurar notas da Lixeira.</translation>
    </message>
    <message>
        <source>A cópia %1 não pôde ser lida.</source>
        <translation>A cópia %1 não pôde ser lida.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: as notas atuais não puderam ser salvas.</source>
        <translation>Nada foi restaurado: as notas atuais não puderam ser salvas.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: não foi possível guardar as notas atuais em um instantâneo.</source>
        <translation>Nada foi restaurado: não foi possível guardar as notas atuais em um instantâneo.</translation>
    </message>
    <message>
        <source>Nada foi restaurado.</source>
        <translation>Nada foi restaurado.</translation>
    </message>
    <message>
        <source>O arquivo ilegível não pôde ser guardado em outro lugar e não será substituído.</source>
        <translation>O arquivo ilegível não pôde ser guardado em outro lugar e não será substituído.</translation>
    </message>
    <message>
        <source>Nada foi restaurado: feche antes as janelas abertas do Corkvane.</source>
        <translation>Nada foi restaurado: feche antes as janelas abertas do Corkvane.</translation>
    </message>
</context>
<context>
    <name>TfrmAddContato</name>
    <message>
        <source>Adicionar/Modificar Contatos</source>
        <translation>Adicionar/Modificar Contatos</translation>
    </message>
    <message>
        <source>&amp;Nome:</source>
        <translation>&amp;Nome:</translation>
    </message>
    <message>
        <source>&amp;E-Mail ou IP:</source>
        <translation>&amp;E-Mail ou IP:</translation>
    </message>
    <message>
        <source>&amp;Anotações:</source>
        <translation>&amp;Anotações:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>TfrmAddressBook</name>
    <message>
        <source>Caderneta de Contatos</source>
        <translation>Caderneta de Contatos</translation>
    </message>
    <message>
        <source>&amp;Novo</source>
        <translation>&amp;Novo</translation>
    </message>
    <message>
        <source>Novo Contato</source>
        <translation>Novo Contato</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>Editar Contato</source>
        <translation>Editar Contato</translation>
    </message>
    <message>
        <source>E&amp;xcluir</source>
        <translation>E&amp;xcluir</translation>
    </message>
    <message>
        <source>Excluir Contato</source>
        <translation>Excluir Contato</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Fechar Caderneta</source>
        <translation>Fechar Caderneta</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>IP ou E-mail</source>
        <translation>IP ou E-mail</translation>
    </message>
    <message>
        <source>Anotações</source>
        <translation>Anotações</translation>
    </message>
    <message>
        <source>Para:</source>
        <translation>Para:</translation>
    </message>
    <message>
        <source>Adicionar contato com destinatário</source>
        <translation>Adicionar contato com destinatário</translation>
    </message>
    <message>
        <source>Remover Contato como Destinatário</source>
        <translation>Remover Contato como Destinatário</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste Contato?</source>
        <translation>Confirma Exclusão deste Contato?</translation>
    </message>
    <message>
        <source>Selecione um contato!</source>
        <translation>Selecione um contato!</translation>
    </message>
    <message>
        <source>Contatos</source>
        <translation>Contatos</translation>
    </message>
    <message>
        <source>Destinatários</source>
        <translation>Destinatários</translation>
    </message>
</context>
<context>
    <name>TfrmAjuda</name>
    <message>
        <source>O arquivo de ajuda %1 não foi encontrado.</source>
        <translation>O arquivo de ajuda %1 não foi encontrado.</translation>
    </message>
    <message>
        <source>Ajuda</source>
        <translation>Ajuda</translation>
    </message>
</context>
<context>
    <name>TfrmConfNota</name>
    <message>
        <source>minuto(s)</source>
        <translation>minuto(s)</translation>
    </message>
    <message>
        <source>hora(s)</source>
        <translation>hora(s)</translation>
    </message>
    <message>
        <source>dia(s)</source>
        <translation>dia(s)</translation>
    </message>
    <message>
        <source>semana(s)</source>
        <translation>semana(s)</translation>
    </message>
    <message>
        <source>mes(es)</source>
        <translation>mes(es)</translation>
    </message>
    <message>
        <source>Domingo</source>
        <translation>Domingo</translation>
    </message>
    <message>
        <source>Segunda</source>
        <translation>Segunda</translation>
    </message>
    <message>
        <source>Terça</source>
        <translation>Terça</translation>
    </message>
    <message>
        <source>Quarta</source>
        <translation>Quarta</translation>
    </message>
    <message>
        <source>Quinta</source>
        <translation>Quinta</translation>
    </message>
    <message>
        <source>Sexta</source>
        <translation>Sexta</translation>
    </message>
    <message>
        <source>Sábado</source>
        <translation>Sábado</translation>
    </message>
    <message>
        <source>Configurações</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Aparência</source>
        <translation>Aparência</translation>
    </message>
    <message>
        <source>Alarmes</source>
        <translation>Alarmes</translation>
    </message>
    <message>
        <source>Sons</source>
        <translation>Sons</translation>
    </message>
    <message>
        <source>Geral</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>Rede</source>
        <translation>Rede</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Pré-Visualização</source>
        <translation>Pré-Visualização</translation>
    </message>
    <message>
        <source>Exemplo de Nota</source>
        <translation>Exemplo de Nota</translation>
    </message>
    <message>
        <source>C&amp;or de Fundo</source>
        <translation>C&amp;or de Fundo</translation>
    </message>
    <message>
        <source>&amp;Fonte</source>
        <translation>&amp;Fonte</translation>
    </message>
    <message>
        <source>E&amp;xibir Barra de Scroll</source>
        <translation>E&amp;xibir Barra de Scroll</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>&amp;Cor Diferenciada</source>
        <translation>&amp;Cor Diferenciada</translation>
    </message>
    <message>
        <source>Exibir &amp;Data</source>
        <translation>Exibir &amp;Data</translation>
    </message>
    <message>
        <source>Exibir &amp;Hora</source>
        <translation>Exibir &amp;Hora</translation>
    </message>
    <message>
        <source>Habilita Alarme</source>
        <translation>Habilita Alarme</translation>
    </message>
    <message>
        <source>&amp;Data:</source>
        <translation>&amp;Data:</translation>
    </message>
    <message>
        <source>&amp;Hora:</source>
        <translation>&amp;Hora:</translation>
    </message>
    <message>
        <source>Relembrar a cada </source>
        <translation>Relembrar a cada </translation>
    </message>
    <message>
        <source>Dias da Semana:</source>
        <translation>Dias da Semana:</translation>
    </message>
    <message>
        <source>Toca &amp;Som</source>
        <translation>Toca &amp;Som</translation>
    </message>
    <message>
        <source>&amp;Testar</source>
        <translation>&amp;Testar</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Arquivos Wave (*.wav)</translation>
    </message>
    <message>
        <source>Este não é um arquivo de som válido!</source>
        <translation>Este não é um arquivo de som válido!</translation>
    </message>
    <message>
        <source>A data e hora selecionada para o alarme é mais antiga que a atual!</source>
        <translation>A data e hora selecionada para o alarme é mais antiga que a atual!</translation>
    </message>
    <message>
        <source>&amp;Utilizar Sons</source>
        <translation>&amp;Utilizar Sons</translation>
    </message>
    <message>
        <source>Não Utilizar &amp;Sons</source>
        <translation>Não Utilizar &amp;Sons</translation>
    </message>
    <message>
        <source>Evento</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Caminho Completo</source>
        <translation>Caminho Completo</translation>
    </message>
    <message>
        <source>Nova Nota</source>
        <translation>Nova Nota</translation>
    </message>
    <message>
        <source>Excluir Nota</source>
        <translation>Excluir Nota</translation>
    </message>
    <message>
        <source>Recebimento de Nota</source>
        <translation>Recebimento de Nota</translation>
    </message>
    <message>
        <source>Informações Pessoais</source>
        <translation>Informações Pessoais</translation>
    </message>
    <message>
        <source>Usuário:</source>
        <translation>Usuário:</translation>
    </message>
    <message>
        <source>Diretório de Dados:</source>
        <translation>Diretório de Dados:</translation>
    </message>
    <message>
        <source>&amp;Perguntar antes de excluir nota</source>
        <translation>&amp;Perguntar antes de excluir nota</translation>
    </message>
    <message>
        <source>Sal&amp;vamento Automático a cada</source>
        <translation>Sal&amp;vamento Automático a cada</translation>
    </message>
    <message>
        <source>minutos</source>
        <translation>minutos</translation>
    </message>
    <message>
        <source>Mostra Nota com Tarefas Agendadas para o Dia na Inicialização</source>
        <translation>Mostra Nota com Tarefas Agendadas para o Dia na Inicialização</translation>
    </message>
    <message>
        <source>Efetuar Backup na Saída do Programa</source>
        <translation>Efetuar Backup na Saída do Programa</translation>
    </message>
    <message>
        <source>Iniciar o Corkvane com o sistema</source>
        <translation>Iniciar o Corkvane com o sistema</translation>
    </message>
    <message>
        <source>Habilitar Funções de Rede</source>
        <translation>Habilitar Funções de Rede</translation>
    </message>
    <message>
        <source>Servidor SMTP</source>
        <translation>Servidor SMTP</translation>
    </message>
    <message>
        <source>&amp;Endereço</source>
        <translation>&amp;Endereço</translation>
    </message>
    <message>
        <source>&amp;Porta</source>
        <translation>&amp;Porta</translation>
    </message>
    <message>
        <source>&amp;Seu e-mail:</source>
        <translation>&amp;Seu e-mail:</translation>
    </message>
    <message>
        <source>&amp;Autenticação</source>
        <translation>&amp;Autenticação</translation>
    </message>
    <message>
        <source>&amp;Usuário</source>
        <translation>&amp;Usuário</translation>
    </message>
    <message>
        <source>&amp;Senha:</source>
        <translation>&amp;Senha:</translation>
    </message>
    <message>
        <source>Nenhuma</source>
        <translation>Nenhuma</translation>
    </message>
    <message>
        <source>Texto Plano</source>
        <translation>Texto Plano</translation>
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
        <translation>Rede Local</translation>
    </message>
    <message>
        <source>Não bloqueia notas </source>
        <translation>Não bloqueia notas </translation>
    </message>
    <message>
        <source>Bloqueia todas as notas</source>
        <translation>Bloqueia todas as notas</translation>
    </message>
    <message>
        <source>Bloquear notas vindas de:</source>
        <translation>Bloquear notas vindas de:</translation>
    </message>
    <message>
        <source>&amp;Adicionar</source>
        <translation>&amp;Adicionar</translation>
    </message>
    <message>
        <source>Apa&amp;gar</source>
        <translation>Apa&amp;gar</translation>
    </message>
    <message>
        <source>Porta:</source>
        <translation>Porta:</translation>
    </message>
    <message>
        <source>Cor de Fundo</source>
        <translation>Cor de Fundo</translation>
    </message>
    <message>
        <source>Cor da Fonte</source>
        <translation>Cor da Fonte</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Selecione o Local para Backup</translation>
    </message>
    <message>
        <source>Selecione um ítem para exclusão!</source>
        <translation>Selecione um ítem para exclusão!</translation>
    </message>
    <message>
        <source>Atenção</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste ítem?</source>
        <translation>Confirma Exclusão deste ítem?</translation>
    </message>
    <message>
        <source>O tempo de salvamento automático deve estar entre 5 e 60 minutos!</source>
        <translation>O tempo de salvamento automático deve estar entre 5 e 60 minutos!</translation>
    </message>
    <message>
        <source>Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas as mensagens.</source>
        <translation>Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas as mensagens.</translation>
    </message>
    <message>
        <source>Se&amp;gurança</source>
        <translation>Se&amp;gurança</translation>
    </message>
    <message>
        <source>Sons dos eventos</source>
        <translation>Sons dos eventos</translation>
    </message>
    <message>
        <source>Intervalo, na unidade escolhida ao lado</source>
        <translation>Intervalo, na unidade escolhida ao lado</translation>
    </message>
    <message>
        <source>Procurar o arquivo de som do alarme</source>
        <translation>Procurar o arquivo de som do alarme</translation>
    </message>
    <message>
        <source>Escolher a pasta do backup na saída</source>
        <translation>Escolher a pasta do backup na saída</translation>
    </message>
    <message>
        <source>Sincronização</source>
        <translation>Sincronização</translation>
    </message>
    <message>
        <source>P&amp;asta:</source>
        <translation>P&amp;asta:</translation>
    </message>
    <message>
        <source>Pasta de sincronização</source>
        <translation>Pasta de sincronização</translation>
    </message>
    <message>
        <source>Escolher a pasta de sincronização</source>
        <translation>Escolher a pasta de sincronização</translation>
    </message>
    <message>
        <source>Última sincronização</source>
        <translation>Última sincronização</translation>
    </message>
    <message>
        <source>As mesmas notas em todos os seus computadores: escolha aqui uma pasta que um programa de sincronização de arquivos, como o Syncthing, mantém igual em todos eles, e a mesma pasta no Corkvane de cada computador. Em branco, as notas ficam só neste computador.</source>
        <translation>As mesmas notas em todos os seus computadores: escolha aqui uma pasta que um programa de sincronização de arquivos, como o Syncthing, mantém igual em todos eles, e a mesma pasta no Corkvane de cada computador. Em branco, as notas ficam só neste computador.</translation>
    </message>
    <message>
        <source>Selecione a Pasta de Sincronização</source>
        <translation>Selecione a Pasta de Sincronização</translation>
    </message>
    <message>
        <source>A pasta de sincronização deve ser um caminho completo, começando por &quot;/&quot;.</source>
        <translation>A pasta de sincronização deve ser um caminho completo, começando por &quot;/&quot;.</translation>
    </message>
    <message>
        <source>Não foi possível criar a pasta de sincronização %1.</source>
        <translation>Não foi possível criar a pasta de sincronização %1.</translation>
    </message>
</context>
<context>
    <name>TfrmConfSom</name>
    <message>
        <source>Configurar Som</source>
        <translation>Configurar Som</translation>
    </message>
    <message>
        <source>Sem Som</source>
        <translation>Sem Som</translation>
    </message>
    <message>
        <source>Som:</source>
        <translation>Som:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Evento </source>
        <translation>Evento </translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Arquivos Wave (*.wav)</translation>
    </message>
    <message>
        <source>Selecione um arquivo!</source>
        <translation>Selecione um arquivo!</translation>
    </message>
    <message>
        <source>Procurar o arquivo de som</source>
        <translation>Procurar o arquivo de som</translation>
    </message>
</context>
<context>
    <name>TfrmEnviaComputador</name>
    <message>
        <source>Enviar para...</source>
        <translation>Enviar para...</translation>
    </message>
    <message>
        <source>IP ou Nome do Computador:</source>
        <translation>IP ou Nome do Computador:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Caderno de Endereços e Contatos</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Enviar</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Enviando para %1...</source>
        <translation>Enviando para %1...</translation>
    </message>
    <message>
        <source>Transmitindo Nota...</source>
        <translation>Transmitindo Nota...</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>OK!</translation>
    </message>
    <message>
        <source>Nota Enviada!</source>
        <translation>Nota Enviada!</translation>
    </message>
    <message>
        <source>Não foi possível conectar em %1 !</source>
        <translation>Não foi possível conectar em %1 !</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Encontrados na rede:</source>
        <translation>Encontrados na rede:</translation>
    </message>
    <message>
        <source>Clique duas vezes para adicionar o computador</source>
        <translation>Clique duas vezes para adicionar o computador</translation>
    </message>
    <message>
        <source>Busca na rede indisponível</source>
        <translation>Busca na rede indisponível</translation>
    </message>
    <message>
        <source>Adicionar à &amp;Caderneta de Contatos...</source>
        <translation>Adicionar à &amp;Caderneta de Contatos...</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Encontrados na rede</source>
        <translation>Encontrados na rede</translation>
    </message>
    <message>
        <source>Nenhum endereço informado: digite o IP ou o nome de pelo menos um computador.</source>
        <translation>Nenhum endereço informado: digite o IP ou o nome de pelo menos um computador.</translation>
    </message>
    <message>
        <source>A conexão com %1 caiu durante o envio: a nota não chegou inteira!</source>
        <translation>A conexão com %1 caiu durante o envio: a nota não chegou inteira!</translation>
    </message>
</context>
<context>
    <name>TfrmEnviarEmail</name>
    <message>
        <source>Conectado!</source>
        <translation>Conectado!</translation>
    </message>
    <message>
        <source>Conexão Terminada!</source>
        <translation>Conexão Terminada!</translation>
    </message>
    <message>
        <source>Enviar E-Mail</source>
        <translation>Enviar E-Mail</translation>
    </message>
    <message>
        <source>&amp;Para:</source>
        <translation>&amp;Para:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Caderno de Endereços e Contatos</translation>
    </message>
    <message>
        <source>Te&amp;xto:</source>
        <translation>Te&amp;xto:</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Enviar</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Este e-mail foi enviado pelo Corkvane</source>
        <translation>Este e-mail foi enviado pelo Corkvane</translation>
    </message>
    <message>
        <source>Faça o download gratuíto em</source>
        <translation>Faça o download gratuíto em</translation>
    </message>
    <message>
        <source>Conectando ao Servidor...</source>
        <translation>Conectando ao Servidor...</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>O e-mail foi enviado com sucesso!</source>
        <translation>O e-mail foi enviado com sucesso!</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>O e-mail não foi enviado! Verifique as configurações de rede.</source>
        <translation>O e-mail não foi enviado! Verifique as configurações de rede.</translation>
    </message>
    <message>
        <source>Informe ao menos um endereço de e-mail em &quot;Para&quot;.</source>
        <translation>Informe ao menos um endereço de e-mail em &quot;Para&quot;.</translation>
    </message>
    <message>
        <source>Assunto:</source>
        <translation>Assunto:</translation>
    </message>
</context>
<context>
    <name>TfrmInsereBloq</name>
    <message>
        <source>Inserir Remetente Bloqueado</source>
        <translation>Inserir Remetente Bloqueado</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Digite o endereço IP do remetente, como 192.168.0.12.</source>
        <translation>Digite o endereço IP do remetente, como 192.168.0.12.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; não é um endereço IP de computador e nunca bloquearia nada. Digite o endereço IP do remetente, como 192.168.0.12.</source>
        <translation>&quot;%1&quot; não é um endereço IP de computador e nunca bloquearia nada. Digite o endereço IP do remetente, como 192.168.0.12.</translation>
    </message>
    <message>
        <source>Insira o endereço IP do computador cujas notas você deseja bloquear, como 192.168.0.12. Só o endereço IP do remetente é comparado: nomes de computador, de usuário ou e-mails não bloqueiam nada.</source>
        <translation>Insira o endereço IP do computador cujas notas você deseja bloquear, como 192.168.0.12. Só o endereço IP do remetente é comparado: nomes de computador, de usuário ou e-mails não bloqueiam nada.</translation>
    </message>
</context>
<context>
    <name>TfrmLixeira</name>
    <message>
        <source>A Lixeira não pôde ser lida: %1</source>
        <translation>A Lixeira não pôde ser lida: %1</translation>
    </message>
    <message>
        <source>A Lixeira está vazia.</source>
        <translation>A Lixeira está vazia.</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Lixeira</source>
        <translation>Lixeira</translation>
    </message>
    <message>
        <source>&amp;Notas apagadas:</source>
        <translation>&amp;Notas apagadas:</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>Primeira linha</source>
        <translation>Primeira linha</translation>
    </message>
    <message>
        <source>Apagada em</source>
        <translation>Apagada em</translation>
    </message>
    <message>
        <source>Notas apagadas</source>
        <translation>Notas apagadas</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Restaurar as notas escolhidas</source>
        <translation>Restaurar as notas escolhidas</translation>
    </message>
    <message>
        <source>Esvaziar</source>
        <translation>Esvaziar</translation>
    </message>
    <message>
        <source>Esvaziar a Lixeira</source>
        <translation>Esvaziar a Lixeira</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Fechar a Lixeira</source>
        <translation>Fechar a Lixeira</translation>
    </message>
    <message>
        <source>Notas na Lixeira: %1. As notas apagadas há mais de %2 dias são descartadas.</source>
        <translation>Notas na Lixeira: %1. As notas apagadas há mais de %2 dias são descartadas.</translation>
    </message>
    <message>
        <source>Esvaziar a Lixeira? As notas nela (%1) serão apagadas para sempre.</source>
        <translation>Esvaziar a Lixeira? As notas nela (%1) serão apagadas para sempre.</translation>
    </message>
</context>
<context>
    <name>TfrmMostraAlarmes</name>
    <message>
        <source>Tarefas para Hoje</source>
        <translation>Tarefas para Hoje</translation>
    </message>
    <message>
        <source>&amp;Visualizar</source>
        <translation>&amp;Visualizar</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
</context>
<context>
    <name>TfrmMudaCaption</name>
    <message>
        <source>Muda Título</source>
        <translation>Muda Título</translation>
    </message>
    <message>
        <source>&amp;Título da Nota:</source>
        <translation>&amp;Título da Nota:</translation>
    </message>
    <message>
        <source>&amp;Padrão</source>
        <translation>&amp;Padrão</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>TfrmNotas</name>
    <message>
        <source>(sem título)</source>
        <translation>(sem título)</translation>
    </message>
    <message>
        <source>Oculta</source>
        <translation>Oculta</translation>
    </message>
    <message>
        <source>Visível</source>
        <translation>Visível</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Alarme</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Recebida de</source>
        <translation>Recebida de</translation>
    </message>
    <message>
        <source>Situação</source>
        <translation>Situação</translation>
    </message>
    <message>
        <source>Notas</source>
        <translation>Notas</translation>
    </message>
    <message>
        <source>&amp;Procurar:</source>
        <translation>&amp;Procurar:</translation>
    </message>
    <message>
        <source>título ou texto da nota</source>
        <translation>título ou texto da nota</translation>
    </message>
    <message>
        <source>&amp;Mostrar</source>
        <translation>&amp;Mostrar</translation>
    </message>
    <message>
        <source>Men&amp;u</source>
        <translation>Men&amp;u</translation>
    </message>
    <message>
        <source>Menu do Corkvane</source>
        <translation>Menu do Corkvane</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Limpar a busca</source>
        <translation>Limpar a busca</translation>
    </message>
    <message>
        <source>&amp;Ocultar</source>
        <translation>&amp;Ocultar</translation>
    </message>
    <message>
        <source>&amp;Excluir</source>
        <translation>&amp;Excluir</translation>
    </message>
    <message>
        <source>&amp;Configurações...</source>
        <translation>&amp;Configurações...</translation>
    </message>
    <message>
        <source>Encontradas: %1 de %2</source>
        <translation>Encontradas: %1 de %2</translation>
    </message>
    <message>
        <source>Notas: %1</source>
        <translation>Notas: %1</translation>
    </message>
</context>
<context>
    <name>TfrmRestaurarCopia</name>
    <message>
        <source>Instantâneo</source>
        <translation>Instantâneo</translation>
    </message>
    <message>
        <source>Cópia de segurança (%1)</source>
        <translation>Cópia de segurança (%1)</translation>
    </message>
    <message>
        <source>Ainda não há cópias. O Corkvane guarda um instantâneo das notas a cada início e, enquanto funciona, no máximo um por hora quando as notas mudam.</source>
        <translation>Ainda não há cópias. O Corkvane guarda um instantâneo das notas a cada início e, enquanto funciona, no máximo um por hora quando as notas mudam.</translation>
    </message>
    <message>
        <source>(sem título)</source>
        <translation>(sem título)</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Restaurar as notas de %1? As notas de agora serão guardadas antes em um instantâneo, que aparecerá nesta lista: a restauração poderá ser desfeita.</source>
        <translation>Restaurar as notas de %1? As notas de agora serão guardadas antes em um instantâneo, que aparecerá nesta lista: a restauração poderá ser desfeita.</translation>
    </message>
    <message>
        <source>Restaurar Cópia</source>
        <translation>Restaurar Cópia</translation>
    </message>
    <message>
        <source>&amp;Cópias das notas:</source>
        <translation>&amp;Cópias das notas:</translation>
    </message>
    <message>
        <source>Momento</source>
        <translation>Momento</translation>
    </message>
    <message>
        <source>Notas</source>
        <translation>Notas</translation>
    </message>
    <message>
        <source>Origem</source>
        <translation>Origem</translation>
    </message>
    <message>
        <source>Cópias das notas</source>
        <translation>Cópias das notas</translation>
    </message>
    <message>
        <source>&amp;Notas da cópia escolhida:</source>
        <translation>&amp;Notas da cópia escolhida:</translation>
    </message>
    <message>
        <source>Notas da cópia escolhida</source>
        <translation>Notas da cópia escolhida</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Restaurar a cópia escolhida</source>
        <translation>Restaurar a cópia escolhida</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Fechar sem restaurar</source>
        <translation>Fechar sem restaurar</translation>
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
        <translation>Sobre o Sistema</translation>
    </message>
    <message>
        <source>Versão:</source>
        <translation>Versão:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Aqui fica a versão</source>
        <translation>Aqui fica a versão</translation>
    </message>
    <message>
        <source>Nenhum navegador pôde abrir o endereço %1. Abra-o à mão num navegador.</source>
        <translation>Nenhum navegador pôde abrir o endereço %1. Abra-o à mão num navegador.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Duplo-clique para criar nota</source>
        <translation>Duplo-clique para criar nota</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&lt;Todos&gt;</source>
        <translation>&lt;Todos&gt;</translation>
    </message>
    <message>
        <source>&amp;Nova Nota</source>
        <translation>&amp;Nova Nota</translation>
    </message>
    <message>
        <source>Mo&amp;strar</source>
        <translation>Mo&amp;strar</translation>
    </message>
    <message>
        <source>M&amp;ostrar Escondidas</source>
        <translation>M&amp;ostrar Escondidas</translation>
    </message>
    <message>
        <source>Mostrar Tarefas para &amp;Hoje</source>
        <translation>Mostrar Tarefas para &amp;Hoje</translation>
    </message>
    <message>
        <source>Salvar A&amp;gora</source>
        <translation>Salvar A&amp;gora</translation>
    </message>
    <message>
        <source>Cópia de &amp;Segurança</source>
        <translation>Cópia de &amp;Segurança</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Caderneta de Contatos</source>
        <translation>&amp;Caderneta de Contatos</translation>
    </message>
    <message>
        <source>&amp;Preferências...</source>
        <translation>&amp;Preferências...</translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation>&amp;Idioma</translation>
    </message>
    <message>
        <source>Português</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>Inglês</source>
        <translation>Inglês</translation>
    </message>
    <message>
        <source>Corkvane na Web...</source>
        <translation>Corkvane na Web...</translation>
    </message>
    <message>
        <source>Sobre o Sistema...</source>
        <translation>Sobre o Sistema...</translation>
    </message>
    <message>
        <source>A&amp;juda</source>
        <translation>A&amp;juda</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>Reunir Notas</source>
        <translation>Reunir Notas</translation>
    </message>
    <message>
        <source>Restaurar Cópia...</source>
        <translation>Restaurar Cópia...</translation>
    </message>
    <message>
        <source>Lixeira...</source>
        <translation>Lixeira...</translation>
    </message>
    <message>
        <source>&amp;Localizar Notas...</source>
        <translation>&amp;Localizar Notas...</translation>
    </message>
</context>
</TS>
